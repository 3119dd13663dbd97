// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QtSoundDecoder;

// The reciter's sounds slowed down with their pitch kept, made in memory when
// first asked for and kept for the run: the players play them from there, and
// nothing is written to disk. A file is decoded once whatever the speeds asked
// of it; the slowing itself runs on a worker thread.
class SlowedSounds final : public QObject
{
    Q_OBJECT
public:
    // A WAV file in memory, or an error saying why there is none.
    using Done = std::function<void(std::shared_ptr<const QByteArray> wave, const QString &error)>;

    // The reciter's voice needs no more; the learner's takes have less.
    static constexpr int Rate = 22050;
    // The speeds of a few examples at a few speeds: a page's worth.
    static constexpr int KeptSounds = 8;

    explicit SlowedSounds(QObject *parent = nullptr);
    ~SlowedSounds() override;

    // At once when already made, else null.
    std::shared_ptr<const QByteArray> Find(const QString &path, double speed) const;
    // done runs later on this object's thread, never from inside the call,
    // unless the ticket is cancelled first.
    quint64 Request(const QString &path, double speed, Done done);
    void Cancel(quint64 ticket);

private:
    struct Made final
    {
        QString path;
        int percent = 0;
        std::shared_ptr<const QByteArray> wave;
    };
    struct Waiter final
    {
        quint64 ticket = 0;
        QString path;
        int percent = 0;
        Done done;
    };
    void pump();
    void finish(const QString &path, int percent, std::shared_ptr<const QByteArray> wave, const QString &error);

    QtSoundDecoder *m_decoder = nullptr;
    std::vector<Made> m_made;
    std::vector<Waiter> m_waiters;
    // The file last decoded, unslowed: a change of speed does not decode again.
    QString m_decodedPath;
    std::shared_ptr<const std::vector<float>> m_decoded;
    int m_decodedRate = 0;
    bool m_working = false;
    quint64 m_nextTicket = 0;
};
