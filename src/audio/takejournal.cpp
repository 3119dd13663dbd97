// SPDX-License-Identifier: GPL-3.0-or-later

#include "takejournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TakeJournal {

namespace {

const QString JournalSuffix = QStringLiteral(".journal");

void putU32(QByteArray &out, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((v >> (8 * i)) & 0xFF);
}

bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// Copies an open journal into a temporary file of the takes' folder and puts it
// in place, for a journal kept in the fallback folder (maybe another disk).
bool copyInto(int fd, const QString &target)
{
    const QFileInfo info(target);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return false;
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (!writeAll(temp.handle(), buffer, n))
            return false;
    }
    if (::fsync(temp.handle()) != 0)
        return false;
    if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    temp.setAutoRemove(false);
    return true;
}

} // namespace

QByteArray Header(quint32 dataBytes)
{
    QByteArray h(HeaderBytes, '\0');
    std::memcpy(h.data(), "RIFF", 4);
    putU32(h, 4, 36 + dataBytes);
    std::memcpy(h.data() + 8, "WAVEfmt ", 8);
    putU32(h, 16, 16);
    h[20] = 1; // PCM
    h[22] = 1; // mono
    putU32(h, 24, Rate);
    putU32(h, 28, Rate); // bytes per second
    h[32] = 1; // block alignment
    h[34] = 8; // bits per sample
    std::memcpy(h.data() + 36, "data", 4);
    putU32(h, 40, dataBytes);
    return h;
}

bool FixSizes(int fd)
{
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || st.st_size < HeaderBytes)
        return false;
    const quint32 data = quint32(qMin<qint64>(st.st_size - HeaderBytes, 0xFFFFFFFFLL - 36));
    const QByteArray h = Header(data);
    return ::pwrite(fd, h.constData() + 4, 4, 4) == 4 && ::pwrite(fd, h.constData() + 40, 4, 40) == 4;
}

bool AppendComment(int fd, const QByteArray &comment)
{
    struct stat st = {};
    if (comment.isEmpty() || ::fstat(fd, &st) != 0 || st.st_size < HeaderBytes)
        return false;
    const qint64 data = st.st_size - HeaderBytes;
    // A chunk starts on an even byte, and so does its text's end.
    QByteArray text = comment + '\0';
    if (text.size() % 2)
        text += '\0';
    QByteArray chunk;
    if (data % 2)
        chunk += '\0';
    const int listAt = int(chunk.size());
    chunk += QByteArray("LIST") + QByteArray(4, '\0') + "INFOICMT" + QByteArray(4, '\0') + text;
    putU32(chunk, listAt + 4, quint32(4 + 8 + text.size()));
    putU32(chunk, listAt + 16, quint32(comment.size() + 1));
    const qint64 total = st.st_size + chunk.size();
    if (total > 0xFFFFFFFFLL)
        return false;
    QByteArray riff(4, '\0');
    putU32(riff, 0, quint32(total - 8));
    QByteArray dataSize(4, '\0');
    putU32(dataSize, 0, quint32(data));
    if (::pwrite(fd, chunk.constData(), size_t(chunk.size()), st.st_size) != chunk.size()
        || ::pwrite(fd, dataSize.constData(), 4, 40) != 4 || ::pwrite(fd, riff.constData(), 4, 4) != 4) {
        ::ftruncate(fd, st.st_size);
        FixSizes(fd);
        return false;
    }
    return true;
}

QString JournalName(const QString &takeFileName)
{
    return QLatin1Char('.') + takeFileName + JournalSuffix;
}

QString TakeOfJournal(const QString &journalFileName)
{
    if (!journalFileName.startsWith(QLatin1Char('.')) || !journalFileName.endsWith(JournalSuffix))
        return {};
    const QString take = journalFileName.mid(1, journalFileName.size() - 1 - JournalSuffix.size());
    return take.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive) && !take.contains(QLatin1Char('/')) ? take
                                                                                                          : QString();
}

Recovery Recover(
    const QString &recDir, const QString &fallbackDir, const std::function<void(const QString &take)> &keepPrevious)
{
    Recovery result;
    const QString rec = QDir::cleanPath(recDir);
    QStringList dirs { rec };
    if (!fallbackDir.isEmpty() && QDir::cleanPath(fallbackDir) != rec)
        dirs << QDir::cleanPath(fallbackDir);

    for (const QString &dir : dirs) {
        // Name filters and patterns are matched by hand here and below: QDir's
        // wildcards compile a regular expression each, before the first page.
        const QStringList journals
            = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Time | QDir::Reversed);
        for (const QString &name : journals) {
            if (!name.startsWith(QLatin1Char('.')) || !name.endsWith(JournalSuffix, Qt::CaseInsensitive))
                continue;
            const QString take = TakeOfJournal(name);
            if (take.isEmpty())
                continue;
            const QString journal = dir + QLatin1Char('/') + name;
            const QString target = rec + QLatin1Char('/') + take;
            const int fd = ::open(QFile::encodeName(journal).constData(), O_RDWR | O_CLOEXEC);
            if (fd < 0)
                continue;
            // Held by a window that is recording into it right now.
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                ::close(fd);
                continue;
            }
            struct stat st = {};
            char magic[12] = {};
            const bool ours = ::fstat(fd, &st) == 0 && st.st_size >= HeaderBytes && ::pread(fd, magic, 12, 0) == 12
                && std::memcmp(magic, "RIFF", 4) == 0 && std::memcmp(magic + 8, "WAVE", 4) == 0;
            const qint64 ms = ours ? (qint64(st.st_size) - HeaderBytes) * 1000 / Rate : 0;
            const QFileInfo saved(target);
            const bool newerSaved = saved.exists() && saved.lastModified() >= QFileInfo(journal).lastModified();
            if (!ours || ms < ShortestTakeMs || newerSaved) {
                ::unlink(QFile::encodeName(journal).constData());
                ::close(fd);
                ++result.removed;
                continue;
            }
            bool placed = false;
            if (keepPrevious && saved.exists())
                keepPrevious(target);
            if (FixSizes(fd) && ::fsync(fd) == 0 && QDir().mkpath(rec)) {
                if (dir == rec) {
                    placed = std::rename(QFile::encodeName(journal).constData(), QFile::encodeName(target).constData())
                        == 0;
                } else if (copyInto(fd, target)) {
                    ::unlink(QFile::encodeName(journal).constData());
                    placed = true;
                }
            }
            ::close(fd);
            if (placed)
                result.recovered << take;
            else
                result.kept << journal;
        }
    }

    // A save cut off between writing its temporary file and renaming it.
    // Its name is ".<take>.wav.XXXXXX", six letters or digits at the end.
    const auto temporary = [](const QString &name) {
        constexpr qsizetype Tail = 6;
        const qsizetype wav = name.size() - Tail - 5;
        if (wav < 2 || !name.startsWith(QLatin1Char('.')) || QStringView(name).mid(wav, 5) != u".wav.")
            return false;
        for (qsizetype i = name.size() - Tail; i < name.size(); ++i) {
            const char16_t c = name[i].unicode();
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                return false;
        }
        return true;
    };
    for (const QString &name : QDir(rec).entryList(QDir::Files | QDir::Hidden)) {
        if (temporary(name) && QFile::remove(rec + QLatin1Char('/') + name))
            ++result.removed;
    }
    return result;
}

} // namespace TakeJournal
