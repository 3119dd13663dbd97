// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/sounddecoder.h"

#include <QObject>

class QAudioDecoder;
class QTimer;

// Decodes with libsndfile (WAV, and MP3 through its mpg123 reader) on a worker
// thread, and with Qt Multimedia's QAudioDecoder for what libsndfile cannot
// open. libsndfile comes first because QAudioDecoder on the FFmpeg backend
// (Debian 13) was seen never to finish an MP3 in the window, so the slowed
// reciter never played.
class QtSoundDecoder final : public QObject, public SoundDecoder
{
    Q_OBJECT
public:
    explicit QtSoundDecoder(QObject *parent = nullptr);
    ~QtSoundDecoder() override;

    void Start(const QString &path, int rate, std::function<void(Result)> done) override;
    void Cancel() override;
    bool IsRunning() const override { return bool(m_done); }

private:
    void startQt(const QString &path, int rate);
    void finish(const QString &error);

    QAudioDecoder *m_decoder = nullptr;
    QTimer *m_timeout = nullptr;
    Result m_result;
    std::function<void(Result)> m_done;
    // Each Start's number: a worker's answer to an earlier one is dropped.
    quint64 m_generation = 0;
};
