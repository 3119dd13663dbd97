// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/stretchplayer.h"

#include <QObject>

class QAudioOutput;
class PcmOutput;
class QBuffer;
class SlowedSounds;
class QMediaPlayer;
class QTimer;
class SoftwareVolume;

// The stretch player on a QMediaPlayer of its own.
class QtStretchPlayer final : public QObject, public StretchPlayer
{
    Q_OBJECT
public:
    // slowed, when given, plays the reciter's stretches at the speed heard.
    explicit QtStretchPlayer(
        SoftwareVolume *volume = nullptr, QObject *parent = nullptr, SlowedSounds *slowed = nullptr);

    void Play(const QString &path, double from, double to, double speed = 1.0) override;
    void PlayWave(const QByteArray &wave) override;
    void Stop() override;

private:
    void ensurePlayer();
    void start();
    void setSource(const QString &path, const QByteArray *wave);

    SoftwareVolume *m_volume = nullptr;
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    QTimer *m_end = nullptr;
    qint64 m_from = 0;
    int m_length = 0;
    bool m_pending = false;
    SlowedSounds *m_slowed = nullptr;
    quint64 m_ticket = 0;
    QBuffer *m_buffer = nullptr;
    PcmOutput *m_pcm = nullptr;
    // What the player holds: a file, or a sound in memory under a name of its own.
    QString m_loaded;
};
