// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtstretchplayer.h"

#include "sound/core/softwarevolume.h"
#include "sound/qt/pcmoutput.h"
#include "sound/qt/playbacksinks.h"
#include "sound/qt/slowedsounds.h"

#include <QBuffer>
#include <QFile>
#include <cmath>

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <sys/stat.h>

namespace {

// A file replaced under the same name (a new take renamed over the last) is
// another sound: what was loaded of the old one must not be played again.
QString fileStamp(const QString &path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return QStringLiteral("|%1|%2|%3.%4")
        .arg(qulonglong(st.st_ino))
        .arg(qlonglong(st.st_size))
        .arg(qlonglong(st.st_mtim.tv_sec))
        .arg(qlonglong(st.st_mtim.tv_nsec));
}

} // namespace

QtStretchPlayer::QtStretchPlayer(SoftwareVolume *volume, QObject *parent, SlowedSounds *slowed)
    : QObject(parent)
    , m_volume(volume)
    , m_slowed(slowed)
{
}

// The media pipeline is made on the first stretch: most learners never ask for one.
void QtStretchPlayer::ensurePlayer()
{
    if (m_player)
        return;
    // Its stretches are the reciter's voice too, and are heard as they come.
    TunePlaybackSinks();
    m_player = new QMediaPlayer(this);
    TunePlayer(m_player);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    m_end = new QTimer(this);
    m_end->setSingleShot(true);
    connect(m_end, &QTimer::timeout, m_player, &QMediaPlayer::stop);
    // Seeking waits for the file to be loaded; the stretch starts once it is.
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::LoadedMedia && m_pending)
            start();
    });
    if (m_volume) {
        const auto apply = [this] {
            m_output->setVolume(m_volume->gain());
            m_output->setMuted(m_volume->muted());
        };
        connect(m_volume, &SoftwareVolume::changed, this, apply);
        apply();
    }
}

void QtStretchPlayer::Play(const QString &path, double from, double to, double speed)
{
    ensurePlayer();
    StopPlayer(m_player);
    if (m_pcm)
        m_pcm->Stop();
    m_end->stop();
    if (m_slowed && m_ticket)
        m_slowed->Cancel(std::exchange(m_ticket, 0));
    m_from = qMax<qint64>(0, qRound64(from * 1000));
    m_length = int(qBound<qint64>(qint64(0), qRound64((to - from) * 1000), qint64(60000)));
    m_pending = true;
    if (speed >= 1.0 || !m_slowed) {
        setSource(path, nullptr);
        return;
    }
    // The slowed reciter is in memory already, and plays on the output that
    // keeps it whole on a busy machine (PcmOutput), from where to where asked.
    const double fromSeconds = m_from / 1000.0;
    const double toSeconds = fromSeconds + m_length / 1000.0;
    const auto playSlowed = [this, fromSeconds, toSeconds](std::shared_ptr<const QByteArray> wave) {
        m_pending = false;
        if (!m_pcm)
            m_pcm = new PcmOutput(m_volume, this);
        m_pcm->PlayWave(std::move(wave), fromSeconds, toSeconds);
    };
    if (std::shared_ptr<const QByteArray> made = m_slowed->Find(path, speed)) {
        playSlowed(std::move(made));
        return;
    }
    m_ticket
        = m_slowed->Request(path, speed, [this, playSlowed](std::shared_ptr<const QByteArray> wave, const QString &) {
              m_ticket = 0;
              if (wave && m_pending)
                  playSlowed(std::move(wave));
          });
}

void QtStretchPlayer::PlayWave(const QByteArray &wave)
{
    ensurePlayer();
    StopPlayer(m_player);
    if (m_pcm)
        m_pcm->Stop();
    m_end->stop();
    m_from = 0;
    m_length = 60000;
    m_pending = true;
    setSource(QStringLiteral("wave:%1").arg(qHash(wave)), &wave);
}

// A file or a sound in memory; the same one again, unchanged, is played from
// where it is, without loading it anew.
void QtStretchPlayer::setSource(const QString &name, const QByteArray *wave)
{
    const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
    const QString loaded = wave ? name : name + fileStamp(name);
    if (m_loaded == loaded && status == QMediaPlayer::LoadingMedia)
        return; // started once loaded
    if (m_loaded == loaded && status != QMediaPlayer::NoMedia && status != QMediaPlayer::InvalidMedia) {
        start();
        return;
    }
    m_loaded = loaded;
    if (!wave) {
        // The player takes the same address again as no change at all.
        if (m_player->source() == QUrl::fromLocalFile(name))
            ReplaceSource(m_player, QUrl());
        ReplaceSource(m_player, QUrl::fromLocalFile(name));
        return;
    }
    ReplaceSource(m_player, QUrl());
    if (m_buffer)
        m_buffer->deleteLater();
    m_buffer = new QBuffer(this);
    m_buffer->setData(*wave);
    m_buffer->open(QIODevice::ReadOnly);
    m_player->setSourceDevice(m_buffer, QUrl(QStringLiteral("sound.wav")));
}

// The stretch's end is timed from its start, not from the request: loading a
// file takes a moment of its own.
void QtStretchPlayer::start()
{
    m_pending = false;
    m_player->setPosition(m_from);
    m_player->play();
    m_end->start(m_length + 1);
}

void QtStretchPlayer::Stop()
{
    if (!m_player)
        return;
    m_pending = false;
    if (m_slowed && m_ticket)
        m_slowed->Cancel(std::exchange(m_ticket, 0));
    m_end->stop();
    StopPlayer(m_player);
    if (m_pcm)
        m_pcm->Stop();
}
