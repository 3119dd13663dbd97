#include "stretchplayer.h"

#include "components/softwarevolume.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

StretchPlayer::StretchPlayer(SoftwareVolume *volume, QObject *parent)
    : QObject(parent)
    , m_volume(volume)
{
}

// The media pipeline is made on the first stretch: most learners never ask for one.
void StretchPlayer::ensurePlayer()
{
    if (m_player)
        return;
    m_player = new QMediaPlayer(this);
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

void StretchPlayer::Play(const QString &path, double from, double to)
{
    ensurePlayer();
    m_player->stop();
    m_end->stop();
    m_from = qMax<qint64>(0, qRound64(from * 1000));
    m_length = int(qBound<qint64>(qint64(0), qRound64((to - from) * 1000), qint64(60000)));
    m_pending = true;
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_player->source() == url && m_player->mediaStatus() != QMediaPlayer::NoMedia
        && m_player->mediaStatus() != QMediaPlayer::LoadingMedia)
        start();
    else
        m_player->setSource(url);
}

// The stretch's end is timed from its start, not from the request: loading a
// file takes a moment of its own.
void StretchPlayer::start()
{
    m_pending = false;
    m_player->setPosition(m_from);
    m_player->play();
    m_end->start(m_length + 1);
}

void StretchPlayer::Stop()
{
    if (!m_player)
        return;
    m_pending = false;
    m_end->stop();
    m_player->stop();
}
