// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAudioFormat>
#include <QObject>
#include <atomic>
#include <memory>

class QAudioDevice;
class QThread;
class SoftwareVolume;

// Plays a sound already in memory (the slowed reciter) through a sound-server
// stream of its own, fed from a thread of its own: raised where the system
// allows it and never given other work, with a queue in the sound server long
// enough to ride out a busy machine. The media backend's players keep a few
// tens of milliseconds ahead and feed from threads that also decode, on a
// thread pool or behind the window: on a machine kept busy by other
// programs their sound broke (gaps of 5 to 30 ms in a slowed example under
// Qt's FFmpeg backend, raised or not). The queue costs nothing at the start:
// the whole of it is written at once, and the sound starts as soon as it is.
//
// Made and used on one thread (the window's); Ended and Failed come there.
class PcmOutput final : public QObject
{
    Q_OBJECT
public:
    // How much the sound server holds ahead of what is heard.
    static constexpr qint64 QueueUs = 250000;

    // It plays at the program's own volume, and follows it, when one is given.
    explicit PcmOutput(SoftwareVolume *volume, QObject *parent = nullptr);
    // Stops the sound and ends the thread; nothing is left waiting.
    ~PcmOutput() override;

    // Plays pcm (samples in format) from the byte at from to the byte before
    // to (-1: its end), in place of whatever was playing.
    void Play(std::shared_ptr<const QByteArray> pcm, qsizetype from, const QAudioFormat &format, qsizetype to = -1);
    // A wave made by TempoStretch::Wave from second from to second to (-1:
    // its end); false, playing nothing, for another kind of wave.
    bool PlayWave(std::shared_ptr<const QByteArray> wave, double from, double to = -1);
    void Stop();
    bool IsPlaying() const { return m_playing; }
    // Microseconds into pcm (a wave: from its first sample) heard so far; where the last play ended or stopped
    // when none plays.
    qint64 PositionUs() const { return qMax<qint64>(0, m_positionUs.load(std::memory_order_relaxed) - m_originUs); }

signals:
    // The last sample has been heard.
    void Ended();
    // The sound server refused the stream; nothing plays.
    void Failed(const QString &text);

private:
    struct Feed;
    void start(quint64 ticket, std::shared_ptr<const QByteArray> pcm, qsizetype from, qsizetype to,
        const QAudioFormat &format, const QAudioDevice &device, float volume);
    void feed();
    void close();
    void report(quint64 ticket, bool ended, const QString &error);
    float heardGain() const;

    SoftwareVolume *m_volume = nullptr;
    QThread *m_thread = nullptr;
    // Lives on m_thread, and everything in m_feed with it.
    QObject *m_context = nullptr;
    std::unique_ptr<Feed> m_feed;
    // Which play the thread's reports are about: a stopped one's are ignored.
    std::atomic<quint64> m_ticket { 0 };
    std::atomic<qint64> m_positionUs { 0 };
    bool m_playing = false;
    // Where the sound begins in what plays (a wave's header), in microseconds.
    qint64 m_originUs = 0;
};
