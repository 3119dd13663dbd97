// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/mediaplayer.h"
#include "widgets/messagesink.h"

#include <QStringList>

// Stand-ins at the platform seams: they record what the window asked of them.

struct RecordingMessages final : MessageSink
{
    QStringList boxes;
    QStringList dialogs;
    void ShowMessageBox(const QString &text) override { boxes << text; }
    void ShowMsgForm(const QString &message) override { dialogs << message; }
    QStringList questions;
    bool answer = false;
    bool Confirm(const QString &question, const QString &, const QString &) override
    {
        questions << question;
        return answer;
    }
};

class FakeMediaPlayer final : public MediaPlayer
{
public:
    QStringList fileNames;
    int plays = 0;
    int stops = 0;
    // Set by a file name as by Play: the real player starts a file as it loads it.
    bool playing = false;
    double duration = 0;
    double position = 0;
    QString title;
    QString author;
    int errorCode = 0;

    QString FileName() const override { return fileNames.isEmpty() ? QString() : fileNames.last(); }
    void SetFileName(const QString &path) override
    {
        fileNames << path;
        playing = true;
    }
    void Play() override
    {
        ++plays;
        playing = true;
    }
    void Stop() override
    {
        ++stops;
        playing = false;
    }
    double CurrentPosition() const override { return position; }
    void SetCurrentPosition(double seconds) override { position = seconds; }
    double Duration() const override { return duration; }
    QString GetMediaInfoString(int index) const override
    {
        return index == ClipTitle ? title : index == ClipAuthor ? author : QString();
    }
    int ErrorCode() const override { return errorCode; }
    QString ErrorDescription() const override { return {}; }
    QString ErrorText() const override { return {}; }
};
