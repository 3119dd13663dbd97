// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtwaveaudio.h"

#include "sound/core/takejournal.h"
#include "sound/qt/audioconverter.h"
#include "sound/qt/pcmoutput.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int FileRate = 11025;
// A power cut costs at most this much of a take.
constexpr qint64 JournalSyncMs = 500;

QString error(const QString &reason)
{
    return WaveAudio::ErrorPrefix + reason;
}

} // namespace

QtWaveAudio::QtWaveAudio(QObject *parent, SoftwareVolume *volume)
    : QObject(parent)
    , m_volume(volume)
{
}

QtWaveAudio::~QtWaveAudio()
{
    // Ending with a take that was never saved (its save failed, or nobody
    // asked): what the journal holds is the learner's, for the next start.
    // A journal a full disk left short says how long the whole take was.
    if (m_journalFd >= 0) {
        DrainCapture();
        WriteJournal();
        if (m_journalBytes < m_captured.size())
            TakeJournal::MarkPartial(m_journalFd, m_captured.size());
    }
    CloseCapture(false);
    CloseVoice();
}

QAudioFormat QtWaveAudio::FileFormat()
{
    QAudioFormat format;
    format.setSampleRate(FileRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    return format;
}

QString QtWaveAudio::Send(const QString &command)
{
    static const QRegularExpression openRe(QStringLiteral("^open\\s+(.+?)\\s+type\\s+waveaudio\\s+alias\\s+(\\S+)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression saveRe(
        QStringLiteral("^save\\s+capture\\s+(.+)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression journalRe(
        QStringLiteral("^set\\s+capture\\s+journal\\s+(.+)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression keepRe(
        QStringLiteral("^keep\\s+capture\\s+(.+)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression commentRe(
        QStringLiteral("^set\\s+capture\\s+comment\\s+(.+)$"), QRegularExpression::CaseInsensitiveOption);

    const QString text = command.trimmed();
    const QStringList words = text.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return error(QStringLiteral("unknown command"));
    const QString &verb = words.first();
    const QString &alias = words.at(1);

    if (verb == QLatin1String("open")) {
        const QRegularExpressionMatch m = openRe.match(text);
        if (!m.hasMatch())
            return error(QStringLiteral("unknown device"));
        const QString target = m.captured(2).toLower();
        if (target == QLatin1String("capture") && m.captured(1).compare(QLatin1String("new"), Qt::CaseInsensitive) == 0)
            return OpenCapture();
        if (target == QLatin1String("voice1"))
            return OpenVoice(m.captured(1));
        return error(QStringLiteral("unknown alias"));
    }
    if (verb == QLatin1String("save")) {
        const QRegularExpressionMatch m = saveRe.match(text);
        return m.hasMatch() ? SaveCapture(m.captured(1)) : error(QStringLiteral("no file name"));
    }

    if (verb == QLatin1String("keep")) {
        const QRegularExpressionMatch m = keepRe.match(text);
        return m.hasMatch() ? KeepCapture(m.captured(1)) : error(QStringLiteral("no file name"));
    }

    if (alias == QLatin1String("capture")) {
        if (verb == QLatin1String("set") && words.size() >= 4 && words.at(2) == QLatin1String("journal")) {
            const QRegularExpressionMatch m = journalRe.match(text);
            return m.hasMatch() ? SetJournal(m.captured(1)) : error(QStringLiteral("no file name"));
        }
        // A few words the saved take carries in its own file (the speed it
        // was recorded at), for whoever reads it later.
        if (verb == QLatin1String("set") && words.size() >= 4 && words.at(2) == QLatin1String("comment")) {
            const QRegularExpressionMatch m = commentRe.match(text);
            if (!m_captureOpen || !m.hasMatch())
                return error(QStringLiteral("not open"));
            m_comment = m.captured(1).toUtf8();
            return {};
        }
        if (verb == QLatin1String("set"))
            return m_captureOpen ? QString() : error(QStringLiteral("not open"));
        if (verb == QLatin1String("record"))
            return RecordCapture();
        if (verb == QLatin1String("stop")) {
            StopCapture();
            return {};
        }
        if (verb == QLatin1String("status") && words.size() >= 3 && words.at(2) == QLatin1String("position"))
            return QString::number(CapturePosition());
        // How much of the take its journal holds: all of it unless the disk is full.
        if (verb == QLatin1String("status") && words.size() >= 3 && words.at(2) == QLatin1String("journal"))
            return QString::number(m_journalPath.isEmpty() ? 0 : m_journalBytes * 1000LL / FileRate);
        if (verb == QLatin1String("close")) {
            CloseCapture();
            return {};
        }
    } else if (alias == QLatin1String("voice1")) {
        if (verb == QLatin1String("set"))
            return m_voiceOpen ? QString() : error(QStringLiteral("not open"));
        if (verb == QLatin1String("status") && words.size() >= 3) {
            if (words.at(2) == QLatin1String("length"))
                return m_voiceOpen ? QString::number(m_voiceLength) : error(QStringLiteral("not open"));
            if (words.at(2) == QLatin1String("position"))
                return m_voiceOpen ? QString::number(VoicePosition()) : error(QStringLiteral("not open"));
        }
        if (verb == QLatin1String("play"))
            return PlayVoice();
        if (verb == QLatin1String("pause")) {
            PauseVoice();
            return {};
        }
        if (verb == QLatin1String("resume"))
            return ResumeVoice();
        if (verb == QLatin1String("stop")) {
            StopVoice();
            return {};
        }
        if (verb == QLatin1String("close")) {
            CloseVoice();
            return {};
        }
    }
    return error(QStringLiteral("unknown command"));
}

QString QtWaveAudio::OpenCapture()
{
    CloseCapture();
    m_captureOpen = true;
    return {};
}

QString QtWaveAudio::RecordCapture()
{
    if (!m_captureOpen)
        return error(QStringLiteral("not open"));
    if (m_source)
        return {};
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull())
        return error(QStringLiteral("no sound input device"));
    const QAudioFormat format = DeviceFormatFor(device, FileFormat());
    m_captureConverter = std::make_unique<AudioConverter>(format, FileFormat());
    m_captured.clear();
    m_source = new QAudioSource(device, format, this);
    m_captureIo = m_source->start();
    if (!m_captureIo || m_source->error() != QAudio::NoError) {
        delete m_source;
        m_source = nullptr;
        m_captureIo = nullptr;
        return error(QStringLiteral("the sound input device cannot be opened"));
    }
    connect(m_captureIo, &QIODevice::readyRead, this, &QtWaveAudio::DrainCapture);
    return {};
}

// The file is locked before anything of it changes: a second window on the
// same course may be recording into it, and a journal that holds sound
// nobody has recovered yet is a take too. Either way this journal is refused
// and the recorder takes another name; the file is left as it was.
QString QtWaveAudio::SetJournal(const QString &path)
{
    if (!m_captureOpen)
        return error(QStringLiteral("not open"));
    CloseJournal();
    if (!m_journalPath.isEmpty())
        QFile::remove(m_journalPath);
    m_journalPath.clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return error(QStringLiteral("cannot write %1").arg(path));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return error(QStringLiteral("%1 is in use").arg(path));
    }
    if (TakeJournal::Inspect(fd).soundBytes > 0) {
        ::close(fd);
        return error(QStringLiteral("%1 holds a take not yet recovered").arg(path));
    }
    const QByteArray header = TakeJournal::Header(0);
    if (::ftruncate(fd, 0) != 0 || ::write(fd, header.constData(), size_t(header.size())) != header.size()) {
        // Ours (empty, locked): nothing of anyone's is lost with it.
        ::unlink(QFile::encodeName(path).constData());
        ::close(fd);
        return error(QStringLiteral("cannot write %1").arg(path));
    }
    m_journalFd = fd;
    m_journalPath = path;
    m_journalBytes = 0;
    m_journalSynced.start();
    return {};
}

// The whole take from memory as a journal at path (written to a temporary
// file first, locked, then renamed), in place of the journal a full disk cut
// short: for the program's end, when the take could not be saved, so that the
// next start recovers all of it.
QString QtWaveAudio::KeepCapture(const QString &path)
{
    if (!m_captureOpen || m_captured.isEmpty())
        return error(QStringLiteral("nothing to keep"));
    DrainCapture();
    WriteJournal();
    const QFileInfo target(path);
    QTemporaryFile temp(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!temp.open() || ::flock(temp.handle(), LOCK_EX | LOCK_NB) != 0)
        return error(QStringLiteral("cannot write in %1").arg(target.absolutePath()));
    const QByteArray header = TakeJournal::Header(quint32(m_captured.size()));
    const bool written = temp.write(header) == header.size() && temp.write(m_captured) == m_captured.size()
        && temp.flush() && (m_comment.isEmpty() || TakeJournal::AppendComment(temp.handle(), m_comment))
        && ::fsync(temp.handle()) == 0;
    if (!written || QFileInfo::exists(path)
        || std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return error(QStringLiteral("cannot write %1").arg(path));
    temp.setAutoRemove(false);
    CloseJournal();
    if (!m_journalPath.isEmpty() && m_journalPath != path)
        QFile::remove(m_journalPath);
    m_journalPath = path;
    m_journalBytes = m_captured.size();
    return {};
}

void QtWaveAudio::DrainCapture()
{
    if (!m_captureIo)
        return;
    const QByteArray bytes = m_captureIo->readAll();
    if (!bytes.isEmpty()) {
        m_captured += m_captureConverter->Convert(bytes);
        WriteJournal();
    }
}

// What has not reached the journal yet (all of it is kept in memory too, so a
// full disk only delays the journal: the next write tries again).
void QtWaveAudio::WriteJournal()
{
    if (m_journalFd < 0)
        return;
    bool wrote = false;
    while (m_journalBytes < m_captured.size()) {
        const ssize_t n
            = ::write(m_journalFd, m_captured.constData() + m_journalBytes, size_t(m_captured.size() - m_journalBytes));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        m_journalBytes += n;
        wrote = true;
    }
    if (!wrote)
        return;
    TakeJournal::FixSizes(m_journalFd);
    if (m_journalSynced.elapsed() >= JournalSyncMs) {
        ::fdatasync(m_journalFd);
        m_journalSynced.restart();
    }
}

void QtWaveAudio::CloseJournal()
{
    if (m_journalFd < 0)
        return;
    ::close(m_journalFd);
    m_journalFd = -1;
}

qint64 QtWaveAudio::CapturePosition()
{
    DrainCapture();
    return m_captured.size() * 1000LL / FileRate;
}

void QtWaveAudio::StopCapture()
{
    DrainCapture();
    WriteJournal();
    // As in CloseCapture, the device is let go of before it is stopped.
    QAudioSource *source = std::exchange(m_source, nullptr);
    m_captureIo = nullptr;
    if (source) {
        source->stop();
        source->deleteLater();
    }
}

// The journal, complete, becomes the take by a rename, which replaces the old
// take in one step. Otherwise (no journal, one on another disk, or one a full
// disk left short) the take is written from memory to a temporary file beside
// the old one and replaces it only once complete. A save that fails keeps
// everything, journal and memory, for another try.
QString QtWaveAudio::SaveCapture(const QString &path)
{
    if (!m_captureOpen)
        return error(QStringLiteral("not open"));
    DrainCapture();
    WriteJournal();

    const bool journalWhole = !m_journalPath.isEmpty() && m_journalBytes == m_captured.size()
        && (m_journalFd < 0 || (TakeJournal::FixSizes(m_journalFd) && ::fsync(m_journalFd) == 0));
    if (journalWhole && QFileInfo(m_journalPath).absolutePath() == QFileInfo(path).absolutePath()) {
        // The comment goes after the sound only now: the journal's sizes are
        // taken from its length while it grows.
        const bool commented = m_comment.isEmpty()
            || (m_journalFd >= 0 && TakeJournal::AppendComment(m_journalFd, m_comment) && ::fsync(m_journalFd) == 0);
        if (commented
            && std::rename(QFile::encodeName(m_journalPath).constData(), QFile::encodeName(path).constData()) == 0) {
            CloseJournal();
            m_journalPath.clear();
            return {};
        }
        // Another try must find the journal holding sound alone.
        if (!m_comment.isEmpty() && m_journalFd >= 0
            && ::ftruncate(m_journalFd, TakeJournal::HeaderBytes + m_journalBytes) == 0)
            TakeJournal::FixSizes(m_journalFd);
    }
    const QString failed = WriteTake(path);
    if (!failed.isEmpty())
        return failed;
    CloseJournal();
    if (!m_journalPath.isEmpty())
        QFile::remove(m_journalPath);
    m_journalPath.clear();
    return {};
}

QString QtWaveAudio::WriteTake(const QString &path) const
{
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    // Locked while it is written: another window's sweep of cut-off saves
    // passes it by.
    if (!temp.open() || ::flock(temp.handle(), LOCK_EX | LOCK_NB) != 0)
        return error(QStringLiteral("cannot write in %1").arg(target.absolutePath()));
    temp.setPermissions(
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    SF_INFO info {};
    info.samplerate = FileRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    SNDFILE *file = sf_open_fd(temp.handle(), SFM_WRITE, &info, SF_FALSE);
    if (!file)
        return error(QString::fromUtf8(sf_strerror(nullptr)));
    if (!m_comment.isEmpty())
        sf_set_string(file, SF_STR_COMMENT, m_comment.constData());

    // Shorts carry the bytes through libsndfile unchanged: u8 -> s16 -> u8.
    std::vector<short> samples(size_t(m_captured.size()));
    for (qsizetype i = 0; i < m_captured.size(); ++i)
        samples[size_t(i)] = short((int(static_cast<unsigned char>(m_captured[i])) - 128) * 256);
    const sf_count_t written = sf_write_short(file, samples.data(), sf_count_t(samples.size()));
    const int closed = sf_close(file);
    if (written != sf_count_t(samples.size()) || closed != 0 || ::fsync(temp.handle()) != 0)
        return error(QStringLiteral("cannot write %1").arg(path));

    if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return error(QStringLiteral("cannot replace %1").arg(path));
    temp.setAutoRemove(false);
    return {};
}

void QtWaveAudio::CloseCapture(bool discardJournal)
{
    // Stopping and freeing the source can spin the event loop (the sound
    // server's backend waits there), and a tick of the recorder may ask for the
    // capture's position meanwhile: the capture is closed first, so that such a
    // call finds it closed instead of reading a device that is going away.
    QAudioSource *source = std::exchange(m_source, nullptr);
    m_captureIo = nullptr;
    m_captureConverter.reset();
    m_captured.clear();
    m_comment.clear();
    m_captureOpen = false;
    CloseJournal();
    if (discardJournal && !m_journalPath.isEmpty())
        QFile::remove(m_journalPath);
    m_journalPath.clear();
    m_journalBytes = 0;
    if (source) {
        source->stop();
        source->deleteLater();
    }
}

QString QtWaveAudio::OpenVoice(const QString &path)
{
    // Opening an alias that is open changes nothing: a resume after a stop from
    // the paused state relies on that.
    if (m_voiceOpen)
        return {};

    SF_INFO info {};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return error(QStringLiteral("cannot open %1").arg(path));
    std::vector<float> samples(size_t(info.frames * info.channels));
    const sf_count_t frames = sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    if (frames <= 0 || info.samplerate <= 0)
        return error(QStringLiteral("no sound in %1").arg(path));

    QAudioFormat fileFormat;
    fileFormat.setSampleRate(info.samplerate);
    fileFormat.setChannelCount(info.channels);
    fileFormat.setSampleFormat(QAudioFormat::Float);
    QAudioFormat wanted = fileFormat;
    wanted.setSampleFormat(QAudioFormat::Int16);
    m_voiceFormat = DeviceFormatFor(QMediaDevices::defaultAudioOutput(), wanted);
    AudioConverter converter(fileFormat, m_voiceFormat);
    m_voiceData = std::make_shared<const QByteArray>(converter.Convert(
        QByteArray(reinterpret_cast<const char *>(samples.data()), qsizetype(frames * info.channels * sizeof(float)))));
    m_voiceLength = frames * 1000LL / info.samplerate;
    m_voiceOpen = true;
    m_paused = false;
    m_ended = false;
    m_stoppedAt = 0;
    return {};
}

// The take plays on the output the reciter's slowed voice plays on: fed from
// a raised thread of its own with a queue that rides out a busy machine, so a
// page being drawn or a busy core leaves no gap in the learner's own voice.
QString QtWaveAudio::PlayVoice()
{
    if (!m_voiceOpen)
        return error(QStringLiteral("not open"));
    return playVoiceFrom(0);
}

QString QtWaveAudio::playVoiceFrom(qint64 ms)
{
    if (!m_voice) {
        m_voice = new PcmOutput(m_volume, this);
        connect(m_voice, &PcmOutput::Ended, this, [this] { m_ended = true; });
    }
    m_paused = false;
    m_ended = false;
    m_stoppedAt = ms;
    m_voice->Play(m_voiceData, m_voiceFormat.bytesForDuration(ms * 1000), m_voiceFormat);
    return {};
}

// A pause is a stop that remembers where the take was heard to; the resume
// plays on from there. The sound server's queue is let go rather than held,
// so nothing of it is heard twice or skipped.
void QtWaveAudio::PauseVoice()
{
    if (m_voice && m_voice->IsPlaying() && !m_ended) {
        m_stoppedAt = VoicePosition();
        m_voice->Stop();
        m_paused = true;
    }
}

QString QtWaveAudio::ResumeVoice()
{
    // A device that was not paused (a stop came in between) plays from the start.
    if (m_voiceOpen && m_paused)
        return playVoiceFrom(m_stoppedAt);
    return PlayVoice();
}

void QtWaveAudio::StopVoice()
{
    if (m_voice && m_voice->IsPlaying()) {
        m_stoppedAt = VoicePosition();
        m_voice->Stop();
    }
    m_paused = false;
}

void QtWaveAudio::CloseVoice()
{
    StopVoice();
    m_voiceData.reset();
    m_voiceOpen = false;
    m_voiceLength = 0;
    m_ended = false;
    m_stoppedAt = 0;
}

// The take's whole length only once its last sample has been heard: the
// recorder stops when the position reaches it.
qint64 QtWaveAudio::VoicePosition() const
{
    if (m_ended)
        return m_voiceLength;
    if (!m_voice || !m_voice->IsPlaying())
        return m_stoppedAt;
    return qBound<qint64>(m_stoppedAt, m_voice->PositionUs() / 1000, qMax<qint64>(0, m_voiceLength - 1));
}
