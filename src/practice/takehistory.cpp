// SPDX-License-Identifier: GPL-3.0-or-later

#include "takehistory.h"

#include "practice/examplefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>

namespace {

struct Entry
{
    qint64 sequence = 0;
    QString file;
};

// The earlier takes in the order they were kept, the oldest first; names
// without a number (from before) first of all, among themselves by name.
std::vector<Entry> entries(const QString &folder)
{
    std::vector<Entry> out;
    for (const QString &file : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        if (const auto sequence = ExampleFiles::HistorySequence(file))
            out.push_back({ *sequence, file });
    }
    // Stable: equal numbers (a copy made by hand) stay in name order.
    std::stable_sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) { return a.sequence < b.sequence; });
    return out;
}

} // namespace

QString TakeHistory::FolderOf(const QString &takePath)
{
    return ExampleFiles::HistoryFolderOf(takePath);
}

QString TakeHistory::KeepPrevious(const QString &takePath)
{
    const QFileInfo previous(takePath);
    if (!previous.isFile())
        return {};
    const QString folder = FolderOf(takePath);
    if (!QDir().mkpath(folder))
        return {};
    // Next in order after every take kept so far; the time in the name is the
    // take's own (its file's), for the learner to read. A name already taken
    // (a file put there by hand) moves the number on.
    const std::vector<Entry> kept = entries(folder);
    qint64 sequence = kept.empty() ? 1 : kept.back().sequence + 1;
    for (int tries = 0; tries < 100; ++tries, ++sequence) {
        const QString candidate
            = folder + QLatin1Char('/') + ExampleFiles::HistoryFileName(sequence, previous.lastModified());
        if (QFileInfo::exists(candidate))
            continue;
        if (::link(QFile::encodeName(takePath).constData(), QFile::encodeName(candidate).constData()) == 0)
            return candidate;
        if (errno == EEXIST)
            continue;
        // No links on this file system: a copy.
        return QFile::copy(takePath, candidate) ? candidate : QString();
    }
    return {};
}

void TakeHistory::Trim(const QString &takePath)
{
    const QString folder = FolderOf(takePath);
    const std::vector<Entry> kept = entries(folder);
    for (size_t i = 0; i + Kept < kept.size(); ++i)
        QFile::remove(folder + QLatin1Char('/') + kept[i].file);
}

void TakeHistory::Withdraw(const QString &keptPath)
{
    if (!keptPath.isEmpty())
        QFile::remove(keptPath);
}

QStringList TakeHistory::Earlier(const QString &takePath)
{
    const QString folder = FolderOf(takePath);
    QStringList paths;
    for (const Entry &e : entries(folder))
        paths << folder + QLatin1Char('/') + e.file;
    return paths;
}
