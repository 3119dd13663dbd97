// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtmediaplayer.h"

#include "sound/api/soundinfo.h"
#include "sound/core/softwarevolume.h"
#include "sound/qt/pcmoutput.h"
#include "sound/qt/playbacksinks.h"

#include "sound/qt/slowedsounds.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMediaPlayer>
#include <QUrl>

// What the players do, for finding why an example stayed silent when it
// did (QT_LOGGING_RULES="rattil.sound.debug=true"); quiet otherwise.
Q_LOGGING_CATEGORY(soundLog, "rattil.sound", QtWarningMsg)

QtMediaPlayer::QtMediaPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed)
    : MediaPlayer(parent)
    , m_volume(volume)
    , m_slowed(slowed)
{
    if (m_volume)
        connect(m_volume, &SoftwareVolume::changed, this, &QtMediaPlayer::applyVolume);
}

void QtMediaPlayer::applyVolume()
{
    if (!m_volume)
        return;
    if (m_output) {
        m_output->setVolume(m_volume->gain());
        m_output->setMuted(m_volume->muted());
    }
}

// Bringing up the media pipeline and the sound server connection costs more than
// showing the first page, so it waits until there is something to play.
void QtMediaPlayer::ensurePlayer()
{
    if (m_player)
        return;
    // Before the player makes its sink, so that the sink is made with it.
    TunePlaybackSinks();
    m_player = new QMediaPlayer(this);
    TunePlayer(m_player);
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
        qCDebug(soundLog) << this << status << m_player->source().fileName();
        if (status == QMediaPlayer::EndOfMedia)
            m_ended = true;
    });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        qCDebug(soundLog) << this << state << "at" << m_player->position() << "ms";
    });
}

QtMediaPlayer::~QtMediaPlayer()
{
    if (m_player)
        StopPlayer(m_player);
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
        StopPlayer(m_player);
    m_fileName = path;
    m_duration = 0;
    m_fileDuration = 0;
    m_title.clear();
    m_author.clear();
    m_ended = false;
    setError(0, {}, {});

    if (!QFileInfo(path).isFile()) {
        setError(int(QMediaPlayer::ResourceError), QStringLiteral("الملف الصوتي غير موجود"), path);
        load(false);
        return;
    }

    const SoundInfo info = ReadSoundInfo(path);
    if (!info.readable) {
        setError(int(QMediaPlayer::FormatError), QStringLiteral("تعذر قراءة الملف الصوتي"), path);
        load(false);
        return;
    }
    m_fileDuration = info.duration;
    m_title = info.title;
    m_author = info.author;
    load(true);
}

void QtMediaPlayer::SetSpeed(double speed)
{
    if (!m_slowed || !(speed > 0.0) || speed > 1.0)
        speed = 1.0;
    if (qFuzzyCompare(speed, m_speed))
        return;
    m_speed = speed;
    // The file stays chosen; it is heard at the new speed when next played.
    if (m_player)
        StopPlayer(m_player);
    m_ended = false;
    if (m_errorCode == 0 && !m_fileName.isEmpty())
        load(false);
}

void QtMediaPlayer::load(bool start)
{
    if (m_slowed && m_ticket)
        m_slowed->Cancel(std::exchange(m_ticket, 0));
    m_startWhenMade = false;
    stopSlowed();
    m_wave.reset();
    if (m_errorCode != 0 || m_fileName.isEmpty()) {
        m_duration = 0;
        if (m_player)
            ReplaceSource(m_player, QUrl());
        return;
    }
    m_duration = m_fileDuration / m_speed;
    ensurePlayer();
    qCDebug(soundLog) << this << "load" << m_fileName << "at" << m_speed << (start ? "to play" : "");
    if (m_speed >= 1.0 || !m_slowed) {
        ReplaceSource(m_player, QUrl::fromLocalFile(m_fileName));
        if (start)
            m_player->play();
        return;
    }
    if (std::shared_ptr<const QByteArray> wave = m_slowed->Find(m_fileName, m_speed)) {
        playSlowed(std::move(wave), start);
        return;
    }
    // Made on the first play at this speed: until then there is nothing to
    // hear, and a Play in between is kept for when it is made.
    ReplaceSource(m_player, QUrl());
    m_startWhenMade = start;
    m_ticket
        = m_slowed->Request(m_fileName, m_speed, [this](std::shared_ptr<const QByteArray> wave, const QString &error) {
              m_ticket = 0;
              qCDebug(soundLog) << this << "slowed" << (wave ? "made" : "failed:") << error;
              if (!wave) {
                  setError(int(QMediaPlayer::FormatError), QStringLiteral("تعذر تشغيل الملف الصوتي"), error);
                  emit ErrorOccurred();
                  return;
              }
              playSlowed(std::move(wave), std::exchange(m_startWhenMade, false));
          });
}

void QtMediaPlayer::playSlowed(std::shared_ptr<const QByteArray> wave, bool start)
{
    // Played from memory on a stream of the program's own (PcmOutput), not
    // by the media backend: its players broke the slowed reciter on a busy
    // machine, and a slowed sound handed to one as a new file was once seen
    // to end before it began.
    ReplaceSource(m_player, QUrl());
    m_wave = std::move(wave);
    m_slowedFromUs = 0;
    if (start)
        startSlowed();
}

void QtMediaPlayer::startSlowed()
{
    if (!m_pcm) {
        m_pcm = new PcmOutput(m_volume, this);
        connect(m_pcm, &PcmOutput::Ended, this, [this] {
            qCDebug(soundLog) << this << "slowed ended";
            m_ended = true;
            m_slowedFromUs = 0;
        });
        connect(m_pcm, &PcmOutput::Failed, this, [this](const QString &text) {
            qCDebug(soundLog) << this << "slowed failed:" << text;
            setError(int(QMediaPlayer::ResourceError), QStringLiteral("تعذر تشغيل الملف الصوتي"), text);
            emit ErrorOccurred();
        });
    }
    m_ended = false;
    qCDebug(soundLog) << this << "slowed plays from" << m_slowedFromUs / 1000 << "ms";
    if (!m_pcm->PlayWave(m_wave, m_slowedFromUs / 1e6)) {
        setError(int(QMediaPlayer::FormatError), QStringLiteral("تعذر تشغيل الملف الصوتي"), m_fileName);
        emit ErrorOccurred();
    }
}

void QtMediaPlayer::stopSlowed()
{
    if (m_pcm)
        m_pcm->Stop();
    m_slowedFromUs = 0;
}

void QtMediaPlayer::Play()
{
    qCDebug(soundLog) << this << "play" << (m_ticket ? "when slowed" : "");
    if (m_ticket) {
        m_startWhenMade = true;
        return;
    }
    if (m_wave) {
        if (m_ended)
            m_slowedFromUs = 0;
        if (!m_pcm || !m_pcm->IsPlaying())
            startSlowed();
        return;
    }
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
    m_startWhenMade = false;
    stopSlowed();
    if (m_player)
        StopPlayer(m_player);
}

double QtMediaPlayer::CurrentPosition() const
{
    // At the end the pipeline may report a position a little short of the tag's
    // length; callers detect the end by comparing the two.
    if (m_ended)
        return m_duration;
    if (m_wave)
        return (m_pcm && m_pcm->IsPlaying() ? m_pcm->PositionUs() : m_slowedFromUs) / 1e6;
    return m_player ? m_player->position() / 1000.0 : 0.0;
}

void QtMediaPlayer::SetCurrentPosition(double seconds)
{
    m_ended = false;
    if (m_wave) {
        m_slowedFromUs = qBound<qint64>(0, qint64(seconds * 1e6), qint64(m_duration * 1e6));
        if (m_pcm && m_pcm->IsPlaying())
            startSlowed();
        return;
    }
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
