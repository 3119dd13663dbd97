// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "audio/sounddecoder.h"

#include <QObject>

class QAudioDecoder;
class QTimer;

// The decoder on Qt Multimedia's QAudioDecoder.
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
    void finish(const QString &error);

    QAudioDecoder *m_decoder = nullptr;
    QTimer *m_timeout = nullptr;
    Result m_result;
    std::function<void(Result)> m_done;
};
