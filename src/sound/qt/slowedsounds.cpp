// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/slowedsounds.h"

#include "sound/core/tempostretch.h"
#include "sound/core/threadpriority.h"
#include "sound/qt/qtsounddecoder.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QTimer>
#include <QtConcurrent>

#include <cmath>

namespace {

int percentOf(double speed)
{
    return int(std::lround(speed * 100.0));
}

} // namespace

SlowedSounds::SlowedSounds(QObject *parent)
    : QObject(parent)
    , m_decoder(new QtSoundDecoder(this))
{
}

SlowedSounds::~SlowedSounds() = default;

std::shared_ptr<const QByteArray> SlowedSounds::Find(const QString &path, double speed) const
{
    const int percent = percentOf(speed);
    for (const Made &made : m_made)
        if (made.percent == percent && made.path == path)
            return made.wave;
    return nullptr;
}

quint64 SlowedSounds::Request(const QString &path, double speed, Done done)
{
    const quint64 ticket = ++m_nextTicket;
    m_waiters.push_back({ ticket, path, percentOf(speed), std::move(done) });
    // Even a sound already made is handed over from the loop, as the caller
    // expects the answer after the call has returned.
    QTimer::singleShot(0, this, &SlowedSounds::pump);
    return ticket;
}

void SlowedSounds::Cancel(quint64 ticket)
{
    for (Waiter &waiter : m_waiters)
        if (waiter.ticket == ticket)
            waiter.done = nullptr;
}

void SlowedSounds::pump()
{
    // Cancelled waiters go; those whose sound is made are answered.
    for (size_t i = 0; i < m_waiters.size();) {
        Waiter &waiter = m_waiters[i];
        std::shared_ptr<const QByteArray> made = waiter.done ? Find(waiter.path, waiter.percent / 100.0) : nullptr;
        if (!waiter.done || made) {
            Done done = std::move(waiter.done);
            m_waiters.erase(m_waiters.begin() + qsizetype(i));
            if (done)
                done(made, QString());
            continue;
        }
        ++i;
    }
    if (m_working || m_waiters.empty())
        return;
    const QString path = m_waiters.front().path;
    const int percent = m_waiters.front().percent;
    m_working = true;
    if (m_decodedPath != path || !m_decoded) {
        m_decoder->Start(path, Rate, [this, path](SoundDecoder::Result result) {
            m_working = false;
            if (!result.error.isEmpty()) {
                finish(path, -1, nullptr, result.error);
                return;
            }
            m_decodedPath = path;
            m_decoded = std::make_shared<const std::vector<float>>(std::move(result.samples));
            m_decodedRate = result.rate;
            pump();
        });
        return;
    }
    const std::shared_ptr<const std::vector<float>> samples = m_decoded;
    const int rate = m_decodedRate;
    auto *watcher = new QFutureWatcher<QByteArray>(this);
    connect(watcher, &QFutureWatcher<QByteArray>::finished, this, [this, watcher, path, percent] {
        watcher->deleteLater();
        m_working = false;
        finish(path, percent, std::make_shared<const QByteArray>(watcher->result()), QString());
    });
    watcher->setFuture(QtConcurrent::run([samples, rate, percent] {
        // The learner is waiting to hear it: it runs ahead of the machine's
        // other work, as the threads that feed the sound server do, and the
        // pool's thread has its own level back before other work comes.
        const pid_t tid = CurrentThreadId();
        int before = 0;
        const bool raised = RaiseSoundThread(tid, &before);
        QByteArray wave = TempoStretch::Wave(TempoStretch::Stretch(*samples, rate, percent / 100.0), rate);
        if (raised)
            RestoreThread(tid, before);
        return wave;
    }));
}

// percent -1: the file itself failed, whatever the speed asked.
void SlowedSounds::finish(
    const QString &path, int percent, std::shared_ptr<const QByteArray> wave, const QString &error)
{
    if (wave) {
        m_made.push_back({ path, percent, wave });
        if (int(m_made.size()) > KeptSounds)
            m_made.erase(m_made.begin());
    } else {
        for (size_t i = 0; i < m_waiters.size();) {
            if (m_waiters[i].path == path && (percent < 0 || m_waiters[i].percent == percent)) {
                Done done = std::move(m_waiters[i].done);
                m_waiters.erase(m_waiters.begin() + qsizetype(i));
                if (done)
                    done(nullptr, error);
                continue;
            }
            ++i;
        }
    }
    pump();
}
