// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/pcmoutput.h"

#include "sound/core/softwarevolume.h"
#include "sound/core/tempostretch.h"
#include "sound/core/threadpriority.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

namespace {

// How often the thread tops up the sound server's queue: a small part of it.
constexpr int FeedEveryMs = 10;
// The sound server's clock of a stream stops short of its end by the sink's
// latency, which it takes off; once everything is written and the clock has
// stood this long, the sound has been heard.
constexpr qint64 StandsAtTheEndMs = 200;
// However the sound server behaves, a play ends this long after it should have.
constexpr qint64 OverdueMs = 3000;

qint64 microsecondsOf(qsizetype bytes, const QAudioFormat &format)
{
    const int frame = format.bytesPerFrame();
    return frame > 0 && format.sampleRate() > 0 ? qint64(bytes / frame) * 1000000 / format.sampleRate() : 0;
}

} // namespace

struct PcmOutput::Feed
{
    QAudioSink *sink = nullptr;
    QIODevice *io = nullptr;
    QTimer *timer = nullptr;
    std::shared_ptr<const QByteArray> pcm;
    QAudioFormat format;
    qsizetype from = 0;
    qsizetype next = 0;
    qsizetype end = 0;
    quint64 ticket = 0;
    qint64 lastHeard = -1;
    QElapsedTimer sinceMoved;
    QElapsedTimer sinceStart;
};

PcmOutput::PcmOutput(SoftwareVolume *volume, QObject *parent)
    : QObject(parent)
    , m_volume(volume)
    , m_thread(new QThread(this))
    , m_context(new QObject)
    , m_feed(std::make_unique<Feed>())
{
    // The kernel's name of the thread, as ps and the tests see it.
    m_thread->setObjectName(QStringLiteral("rattil-sound"));
    m_context->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    connect(
        m_thread, &QThread::started, m_thread, [] { RaiseSoundThread(CurrentThreadId()); }, Qt::DirectConnection);
    m_thread->start();
    if (m_volume) {
        connect(m_volume, &SoftwareVolume::changed, this, [this] {
            const float heard = heardGain();
            QMetaObject::invokeMethod(m_context, [this, heard] {
                if (m_feed->sink)
                    m_feed->sink->setVolume(heard);
            });
        });
    }
}

// The gain is 0 while the program's volume is muted.
float PcmOutput::heardGain() const
{
    return m_volume ? float(m_volume->gain()) : 1.0f;
}

PcmOutput::~PcmOutput()
{
    ++m_ticket;
    QMetaObject::invokeMethod(m_context, [this] { close(); });
    m_thread->quit();
    m_thread->wait();
}

bool PcmOutput::PlayWave(std::shared_ptr<const QByteArray> wave, double from, double to)
{
    const int rate = wave ? TempoStretch::RateOfWave(*wave) : 0;
    if (rate <= 0)
        return false;
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    const auto byteAt
        = [rate](double seconds) { return TempoStretch::WaveHeader + qsizetype(qMax(0.0, seconds) * rate) * 2; };
    // The header is left out of what is heard, and of the position.
    Play(wave, byteAt(from), format, to < 0 ? -1 : byteAt(to));
    m_originUs = microsecondsOf(TempoStretch::WaveHeader, format);
    return true;
}

void PcmOutput::Play(std::shared_ptr<const QByteArray> pcm, qsizetype from, const QAudioFormat &format, qsizetype to)
{
    const quint64 ticket = ++m_ticket;
    m_originUs = 0;
    m_positionUs.store(microsecondsOf(from, format), std::memory_order_relaxed);
    m_playing = true;
    // Asked here: the list of devices belongs to the window's thread.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const float heard = heardGain();
    QMetaObject::invokeMethod(m_context, [this, ticket, pcm = std::move(pcm), from, to, format, device, heard] {
        start(ticket, pcm, from, to, format, device, heard);
    });
}

void PcmOutput::Stop()
{
    ++m_ticket;
    m_playing = false;
    QMetaObject::invokeMethod(m_context, [this] { close(); });
}

// On the thread from here to report().

void PcmOutput::start(quint64 ticket, std::shared_ptr<const QByteArray> pcm, qsizetype from, qsizetype to,
    const QAudioFormat &format, const QAudioDevice &device, float volume)
{
    close();
    if (ticket != m_ticket.load())
        return;
    Feed &f = *m_feed;
    f.sink = new QAudioSink(device, format, m_context);
    f.sink->setBufferSize(format.bytesForDuration(QueueUs));
    f.sink->setVolume(volume);
    f.io = f.sink->start();
    if (!f.io || f.sink->error() != QAudio::NoError) {
        close();
        report(ticket, false, QStringLiteral("the sound output device cannot be opened"));
        return;
    }
    f.pcm = std::move(pcm);
    f.format = format;
    const qsizetype frame = qMax(1, format.bytesPerFrame());
    f.end = to < 0 || to > f.pcm->size() ? f.pcm->size() : to;
    f.end -= f.end % frame;
    f.from = qBound<qsizetype>(0, from - from % frame, f.end);
    f.next = f.from;
    f.ticket = ticket;
    f.lastHeard = -1;
    f.sinceMoved.start();
    f.sinceStart.start();
    f.timer = new QTimer(m_context);
    f.timer->setTimerType(Qt::PreciseTimer);
    connect(f.timer, &QTimer::timeout, m_context, [this] { feed(); });
    f.timer->start(FeedEveryMs);
    feed();
}

void PcmOutput::feed()
{
    Feed &f = *m_feed;
    if (!f.sink)
        return;
    const qsizetype end = f.end;
    if (f.next < end) {
        qsizetype room = qMin<qsizetype>(f.sink->bytesFree(), end - f.next);
        room -= room % qMax(1, f.format.bytesPerFrame());
        if (room > 0) {
            const qint64 written = f.io->write(f.pcm->constData() + f.next, room);
            if (written > 0)
                f.next += written;
        }
    }
    if (f.sink->error() != QAudio::NoError && f.sink->error() != QAudio::UnderrunError) {
        const quint64 ticket = f.ticket;
        close();
        report(ticket, false, QStringLiteral("the sound output device stopped"));
        return;
    }
    const qint64 whole = microsecondsOf(end - f.from, f.format);
    const qint64 heard = qBound<qint64>(0, f.sink->processedUSecs(), whole);
    m_positionUs.store(microsecondsOf(f.from, f.format) + heard, std::memory_order_relaxed);
    if (heard != f.lastHeard) {
        f.lastHeard = heard;
        f.sinceMoved.restart();
    }
    if (f.next < end)
        return;
    const bool done = heard >= whole - 2000 || (heard > 0 && f.sinceMoved.elapsed() > StandsAtTheEndMs)
        || f.sinceStart.elapsed() > whole / 1000 + OverdueMs;
    if (!done)
        return;
    m_positionUs.store(microsecondsOf(end, f.format), std::memory_order_relaxed);
    const quint64 ticket = f.ticket;
    close();
    report(ticket, true, {});
}

void PcmOutput::close()
{
    Feed &f = *m_feed;
    delete std::exchange(f.timer, nullptr);
    if (QAudioSink *sink = std::exchange(f.sink, nullptr)) {
        // reset, not stop: Qt 6.8's stop waits until the sound server has
        // played out all it holds, and a stopped reciter or a seek would go
        // on sounding for up to the whole queue. reset lets the queue go.
        sink->reset();
        delete sink;
    }
    f.io = nullptr;
    f.pcm.reset();
}

void PcmOutput::report(quint64 ticket, bool ended, const QString &error)
{
    QMetaObject::invokeMethod(
        this,
        [this, ticket, ended, error] {
            if (ticket != m_ticket.load())
                return;
            m_playing = false;
            if (ended)
                emit Ended();
            else
                emit Failed(error);
        },
        Qt::QueuedConnection);
}
