#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
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
    explicit StretchPlayer(SoftwareVolume *volume = nullptr, QObject *parent = nullptr);

    // From and to in seconds; a new stretch cuts off the one playing.
    void Play(const QString &path, double from, double to);
    void Stop();

private:
    void ensurePlayer();
    void start();

    SoftwareVolume *m_volume = nullptr;
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    QTimer *m_end = nullptr;
    qint64 m_from = 0;
    int m_length = 0;
    bool m_pending = false;
};
