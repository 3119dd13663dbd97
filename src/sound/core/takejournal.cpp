// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/takejournal.h"

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
bool copyInto(int fd, const QString &target, const struct timespec times[2])
{
    const QFileInfo info(target);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open() || ::flock(temp.handle(), LOCK_EX | LOCK_NB) != 0)
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
    ::futimens(temp.handle(), times);
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

QString JournalName(const QString &takeFileName, int writer)
{
    return QLatin1Char('.') + takeFileName + (writer > 1 ? QLatin1Char('.') + QString::number(writer) : QString())
        + JournalSuffix;
}

QString TakeOfJournal(const QString &journalFileName)
{
    if (!journalFileName.startsWith(QLatin1Char('.')) || !journalFileName.endsWith(JournalSuffix))
        return {};
    QString take = journalFileName.mid(1, journalFileName.size() - 1 - JournalSuffix.size());
    // The journal of a second writer: ".3-1-2.wav.2.journal".
    const qsizetype dot = take.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && take.size() - dot == 2 && take[dot + 1] >= QLatin1Char('2') && take[dot + 1] <= QLatin1Char('9'))
        take.truncate(dot);
    return take.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive) && !take.contains(QLatin1Char('/')) ? take
                                                                                                          : QString();
}

bool MarkPartial(int fd, qint64 takeBytes)
{
    if (takeBytes <= 0 || takeBytes > 0xFFFFFFFFLL - 36)
        return false;
    const QByteArray h = Header(quint32(takeBytes));
    return ::pwrite(fd, h.constData() + 40, 4, 40) == 4 && ::fsync(fd) == 0;
}

Contents Inspect(int fd)
{
    Contents c;
    struct stat st = {};
    unsigned char head[HeaderBytes] = {};
    if (::fstat(fd, &st) != 0 || st.st_size < HeaderBytes || ::pread(fd, head, HeaderBytes, 0) != HeaderBytes
        || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return c;
    c.ours = true;
    const auto u32 = [&](int at) {
        return qint64(head[at]) | qint64(head[at + 1]) << 8 | qint64(head[at + 2]) << 16 | qint64(head[at + 3]) << 24;
    };
    const qint64 size = st.st_size;
    const qint64 claimed = u32(40);
    c.soundBytes = size - HeaderBytes;
    c.takeBytes = c.soundBytes;
    if (claimed > c.soundBytes) {
        c.takeBytes = claimed;
        return c;
    }
    // A finished take: its sound, then its comment's chunk to the file's end.
    const qint64 listAt = HeaderBytes + claimed + (claimed % 2);
    unsigned char list[8] = {};
    if (listAt + 8 <= size && ::pread(fd, list, 8, listAt) == 8 && std::memcmp(list, "LIST", 4) == 0) {
        const qint64 listSize = qint64(list[4]) | qint64(list[5]) << 8 | qint64(list[6]) << 16 | qint64(list[7]) << 24;
        if (listAt + 8 + listSize == size && u32(4) == size - 8) {
            c.commented = true;
            c.soundBytes = c.takeBytes = claimed;
        }
    }
    return c;
}

namespace {

// A temporary file of a save: ".<take>.wav.XXXXXX" or a journal's
// ".<take>.wav.journal.XXXXXX", six letters or digits at the end.
bool isTemporary(const QString &name)
{
    constexpr qsizetype Tail = 6;
    if (name.size() < Tail + 3 || !name.startsWith(QLatin1Char('.'))
        || name[name.size() - Tail - 1] != QLatin1Char('.'))
        return false;
    const QStringView stem = QStringView(name).left(name.size() - Tail - 1);
    if (!stem.endsWith(u".wav") && !stem.endsWith(JournalSuffix))
        return false;
    for (qsizetype i = name.size() - Tail; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    return true;
}

// Removed unless its writer (another window saving right now) holds it.
bool removeIfLeft(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool removed = free && ::unlink(QFile::encodeName(path).constData()) == 0;
    ::close(fd);
    return removed;
}

} // namespace

Recovery Recover(const QString &recDir, const QString &fallbackDir, const History &history)
{
    Recovery result;
    const QString rec = QDir::cleanPath(recDir);
    QStringList dirs { rec };
    if (!fallbackDir.isEmpty() && QDir::cleanPath(fallbackDir) != rec)
        dirs << QDir::cleanPath(fallbackDir);

    for (const QString &dir : dirs) {
        // Name filters and patterns are matched by hand here and below: QDir's
        // wildcards compile a regular expression each, before the first page.
        // Two journals of one take (two windows) are taken oldest first, so the
        // later one ends as the newest take, the other in the history; either
        // way both are kept.
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
            ::fstat(fd, &st);
            const Contents contents = Inspect(fd);
            const qint64 ms = contents.soundBytes * 1000 / Rate;
            if (!contents.ours || ms < ShortestTakeMs) {
                ::unlink(QFile::encodeName(journal).constData());
                ::close(fd);
                ++result.removed;
                continue;
            }
            // The take there goes to the history before the journal replaces
            // it; when it cannot, the journal waits for a start that can.
            QString keptPrevious;
            const bool savedThere = QFileInfo(target).isFile();
            bool placed = false;
            if (savedThere && history.keep)
                keptPrevious = history.keep(target);
            const bool previousSafe = !savedThere || !keptPrevious.isEmpty();
            if (previousSafe && (contents.commented || FixSizes(fd)) && ::fsync(fd) == 0 && QDir().mkpath(rec)) {
                // Dated when it was recorded, not now: the last write to the
                // journal was the take's last moment.
                const struct timespec times[2] = { st.st_atim, st.st_mtim };
                if (dir == rec) {
                    ::futimens(fd, times);
                    placed = std::rename(QFile::encodeName(journal).constData(), QFile::encodeName(target).constData())
                        == 0;
                } else if (copyInto(fd, target, times)) {
                    ::unlink(QFile::encodeName(journal).constData());
                    placed = true;
                }
            }
            ::close(fd);
            if (placed) {
                result.recovered << take;
                result.details.push_back({ take, ms, contents.takeBytes * 1000 / Rate, keptPrevious });
            } else {
                if (!keptPrevious.isEmpty() && history.withdraw)
                    history.withdraw(keptPrevious);
                result.kept << journal;
            }
        }
    }

    // Saves cut off between writing their temporary file and renaming it.
    for (const QString &dir : dirs) {
        for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
            if (isTemporary(name) && removeIfLeft(dir + QLatin1Char('/') + name))
                ++result.removed;
        }
    }
    return result;
}

} // namespace TakeJournal
