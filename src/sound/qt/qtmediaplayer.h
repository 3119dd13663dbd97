// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/mediaplayer.h"

#include <memory>

class QAudioOutput;
class PcmOutput;
class SlowedSounds;
class QMediaPlayer;
class SoftwareVolume;

// Plays through Qt Multimedia; reads duration and tags with TagLib,
// synchronously, so callers have them before decoding has begun. Below full
// speed it plays the slowed sound made in memory, which starts once made.
class QtMediaPlayer final : public MediaPlayer
{
    Q_OBJECT
public:
    // volume, when given, is the program's own output line the player follows.
    // slowed, when given, makes the slowed sounds; without it the speed stays 1.
    explicit QtMediaPlayer(QObject *parent = nullptr, SoftwareVolume *volume = nullptr, SlowedSounds *slowed = nullptr);
    ~QtMediaPlayer() override;

    QString FileName() const override { return m_fileName; }
    void SetFileName(const QString &path) override;
    void Play() override;
    void Stop() override;
    double CurrentPosition() const override;
    void SetCurrentPosition(double seconds) override;
    double Duration() const override { return m_duration; }
    QString GetMediaInfoString(int index) const override;
    int ErrorCode() const override { return m_errorCode; }
    QString ErrorDescription() const override { return m_errorDescription; }
    QString ErrorText() const override { return m_errorText; }
    void SetSpeed(double speed) override;

private:
    void ensurePlayer();
    void applyVolume();
    void setError(int code, const QString &description, const QString &text);
    // Gives the player the file at the speed set, starting it when start is set.
    void load(bool start);
    void playSlowed(std::shared_ptr<const QByteArray> wave, bool start);
    void startSlowed();
    void stopSlowed();

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    SoftwareVolume *m_volume = nullptr;
    QString m_fileName;
    double m_duration = 0;
    QString m_title;
    QString m_author;
    int m_errorCode = 0;
    QString m_errorDescription;
    QString m_errorText;
    bool m_ended = false;
    SlowedSounds *m_slowed = nullptr;
    // The slowed sound of the file at the speed set, once made; while there
    // is one, it is what plays, from m_slowedFromUs when not playing.
    std::shared_ptr<const QByteArray> m_wave;
    PcmOutput *m_pcm = nullptr;
    qint64 m_slowedFromUs = 0;
    quint64 m_ticket = 0;
    // Play was asked for while the slowed sound was being made.
    bool m_startWhenMade = false;
    double m_fileDuration = 0;
};
