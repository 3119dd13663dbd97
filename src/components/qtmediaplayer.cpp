#include "qtmediaplayer.h"

#include "playbackqueue.h"
#include "softwarevolume.h"
#include "soundinfo.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

QtMediaPlayer::QtMediaPlayer(QObject *parent, SoftwareVolume *volume)
    : MediaPlayer(parent)
    , m_volume(volume)
{
    if (m_volume)
        connect(m_volume, &SoftwareVolume::changed, this, &QtMediaPlayer::applyVolume);
}

void QtMediaPlayer::applyVolume()
{
    if (!m_output || !m_volume)
        return;
    m_output->setVolume(m_volume->gain());
    m_output->setMuted(m_volume->muted());
}

// Bringing up the media pipeline and the sound server connection costs more than
// showing the first page, so it waits until there is something to play.
void QtMediaPlayer::ensurePlayer()
{
    if (m_player)
        return;
    // Before the player makes its sink, so that the sink is made with it.
    ShortenPlaybackQueue();
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    applyVolume();
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString &text) {
        if (error == QMediaPlayer::NoError)
            return;
        setError(int(error), QStringLiteral("تعذر تشغيل الملف الصوتي"), text);
        emit ErrorOccurred();
    });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            m_ended = true;
    });
}

QtMediaPlayer::~QtMediaPlayer()
{
    if (m_player)
        m_player->stop();
}

void QtMediaPlayer::setError(int code, const QString &description, const QString &text)
{
    m_errorCode = code;
    m_errorDescription = description;
    m_errorText = text;
}

void QtMediaPlayer::SetFileName(const QString &path)
{
    if (m_player)
        m_player->stop();
    m_fileName = path;
    m_duration = 0;
    m_title.clear();
    m_author.clear();
    m_ended = false;
    setError(0, {}, {});

    if (!QFileInfo(path).isFile()) {
        setError(int(QMediaPlayer::ResourceError), QStringLiteral("الملف الصوتي غير موجود"), path);
        if (m_player)
            m_player->setSource(QUrl());
        return;
    }

    const SoundInfo info = ReadSoundInfo(path);
    if (!info.readable) {
        setError(int(QMediaPlayer::FormatError), QStringLiteral("تعذر قراءة الملف الصوتي"), path);
        if (m_player)
            m_player->setSource(QUrl());
        return;
    }
    m_duration = info.duration;
    m_title = info.title;
    m_author = info.author;

    ensurePlayer();
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play();
}

void QtMediaPlayer::Play()
{
    if (!m_player || m_player->source().isEmpty())
        return;
    if (m_ended) {
        m_ended = false;
        m_player->setPosition(0);
    }
    m_player->play();
}

void QtMediaPlayer::Stop()
{
    if (m_player)
        m_player->stop();
}

double QtMediaPlayer::CurrentPosition() const
{
    // At the end the pipeline may report a position a little short of the tag's
    // length; callers detect the end by comparing the two.
    if (m_ended)
        return m_duration;
    return m_player ? m_player->position() / 1000.0 : 0.0;
}

void QtMediaPlayer::SetCurrentPosition(double seconds)
{
    m_ended = false;
    if (m_player)
        m_player->setPosition(qint64(seconds * 1000.0));
}

QString QtMediaPlayer::GetMediaInfoString(int index) const
{
    if (index == ClipTitle)
        return m_title;
    if (index == ClipAuthor)
        return m_author;
    return {};
}
