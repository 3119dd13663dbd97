// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/waveaudio.h"
#include "sound/api/waveinput.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QStringList>
#include <functional>

// Answers the recorder's command strings as a sound device would, and keeps them.
struct FakeWaveAudio final : WaveAudio
{
    QStringList commands;
    // A second into the take: long enough to be kept.
    QString capturePosition = QStringLiteral("1000");
    QString voiceLength = QStringLiteral("3000");
    QString voicePosition = QStringLiteral("0");
    QString saveReply;
    // What the journal holds; all of the take unless set.
    QString journalled;
    QByteArray saveContent = "RIFF";
    // When set, what a save writes, from the take's comment ("set capture comment").
    std::function<QByteArray(const QString &comment)> content;
    QString comment;
    // Folders where no journal can be made.
    QStringList journalRefused;
    // Folders where "keep capture PATH" (the take from memory as a journal) fails.
    QStringList keepRefused;
    QString recordReply;

    QString Send(const QString &command) override
    {
        commands << command;
        const QString lower = command.toLower();
        if (lower == QLatin1String("status capture position"))
            return capturePosition;
        if (lower == QLatin1String("status capture journal"))
            return journalled.isNull() ? capturePosition : journalled;
        if (lower == QLatin1String("status voice1 length"))
            return voiceLength;
        if (lower == QLatin1String("status voice1 position"))
            return voicePosition;
        if (lower.startsWith(QLatin1String("set capture journal "))) {
            for (const QString &refused : journalRefused)
                if (command.mid(20).startsWith(refused))
                    return ErrorPrefix + QStringLiteral("cannot write");
            return {};
        }
        if (lower.startsWith(QLatin1String("keep capture "))) {
            for (const QString &refused : keepRefused)
                if (command.mid(13).startsWith(refused))
                    return ErrorPrefix + QStringLiteral("disk full");
            return {};
        }
        if (lower.startsWith(QLatin1String("set capture comment ")))
            comment = command.mid(20);
        if (lower == QLatin1String("open new type waveaudio alias capture"))
            comment.clear();
        if (lower == QLatin1String("record capture"))
            return recordReply;
        if (lower.startsWith(QLatin1String("save capture "))) {
            if (!saveReply.isEmpty())
                return saveReply;
            // As the real device does, a new file takes the old one's place: a
            // link to the old take (its history) keeps what it held.
            const QString path = command.mid(13);
            QFile file(path + QStringLiteral(".new"));
            if (!file.open(QIODevice::WriteOnly))
                return ErrorPrefix + QStringLiteral("cannot write");
            file.write(content ? content(comment) : saveContent);
            file.close();
            QFile::remove(path);
            if (!file.rename(path))
                return ErrorPrefix + QStringLiteral("cannot replace");
        }
        return {};
    }
};

struct FakeWaveInput final : WaveInput
{
    bool canOpen = true;
    QString errorText = QStringLiteral("no device");
    bool open = false;
    int opens = 0;
    QList<QByteArray> arriving;

    bool Open(QString *text) override
    {
        ++opens;
        if (!canOpen) {
            *text = errorText;
            return false;
        }
        open = true;
        return true;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    QByteArray TakeNewestBuffer() override { return arriving.isEmpty() ? QByteArray() : arriving.takeLast(); }
};
