// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAudioSource>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <cstdlib>

// The benches' clock and the ear they listen with: the sound server's monitor
// of its output ("mic" under the test services), read in 10 ms pieces.
inline QElapsedTimer &BenchClock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock;
}

inline double BenchNowMs()
{
    return BenchClock().nsecsElapsed() / 1e6;
}

template<class Pred> bool WaitFor(Pred done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(500);
    }
    return true;
}

class SinkProbe
{
public:
    SinkProbe()
    {
        QAudioFormat f;
        f.setSampleRate(8000);
        f.setChannelCount(1);
        f.setSampleFormat(QAudioFormat::UInt8);
        m_source = new QAudioSource(QMediaDevices::defaultAudioInput(), f);
        m_source->setBufferSize(80);
        m_io = m_source->start();
    }
    ~SinkProbe() { delete m_source; }
    SinkProbe(const SinkProbe &) = delete;
    SinkProbe &operator=(const SinkProbe &) = delete;

    void Drain() { m_io->readAll(); }
    // Clock time (ms) of the first sample read now that is louder than the
    // threshold, or -1.
    double Loud(int threshold)
    {
        const QByteArray bytes = m_io->readAll();
        const double now = BenchNowMs();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (std::abs(static_cast<unsigned char>(bytes[i]) - 128) > threshold)
                return now - (bytes.size() - i) / 8.0;
        }
        return -1;
    }

    // The welcome chime of a window just shown: heard (false when it never
    // is), then quiet for half a second.
    bool AfterTheChime()
    {
        const bool heard = WaitFor([&] { return Loud(20) >= 0; }, 4000);
        WaitForQuiet(500, 8000);
        return heard;
    }

    // Until nothing has been heard for quietMs.
    void WaitForQuiet(int quietMs, int timeoutMs)
    {
        double lastLoud = BenchNowMs();
        WaitFor(
            [&] {
                if (Loud(20) >= 0)
                    lastLoud = BenchNowMs();
                return BenchNowMs() - lastLoud > quietMs;
            },
            timeoutMs);
    }

private:
    QAudioSource *m_source = nullptr;
    QIODevice *m_io = nullptr;
};
