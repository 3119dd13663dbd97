#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
class QBuffer;
class SlowedSounds;
class QMediaPlayer;
class QTimer;
class SoftwareVolume;

// Plays one stretch of a sound file, the reciter's MP3 or the learner's WAV, on
// a player of its own: the reciter's player keeps its example loaded and the
// recorder keeps its devices, whatever the comparison plays.
class StretchPlayer final : public QObject
{
    Q_OBJECT
public:
    // slowed, when given, plays the reciter's stretches at the speed heard.
    explicit StretchPlayer(SoftwareVolume *volume = nullptr, QObject *parent = nullptr, SlowedSounds *slowed = nullptr);

    // From and to in seconds of what is heard at that speed; a new stretch
    // cuts off the one playing.
    void Play(const QString &path, double from, double to, double speed = 1.0);
    // A short sound made in memory (a cue), whole.
    void PlayWave(const QByteArray &wave);
    void Stop();

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
    // What the player holds: a file, or a sound in memory under a name of its own.
    QString m_loaded;
};
