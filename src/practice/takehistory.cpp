// SPDX-License-Identifier: GPL-3.0-or-later

#include "takehistory.h"

#include "practice/examplefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

QStringList historyNames(const QString &folder)
{
    // yyyyMMdd-HHmmss.wav, matched by hand: the progress counts these before
    // the first page, and a pattern would compile a regular expression there.
    const auto isHistoryName = [](const QString &n) {
        if (n.size() != 19 || n[8] != QLatin1Char('-') || !n.endsWith(QLatin1String(".wav")))
            return false;
        for (int i = 0; i < 15; ++i) {
            if (i != 8 && !(n[i] >= QLatin1Char('0') && n[i] <= QLatin1Char('9')))
                return false;
        }
        return true;
    };
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    names.removeIf([&](const QString &n) { return !isHistoryName(n); });
    return names;
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
    // Named by when it was recorded, which its file's time tells; a second
    // already taken (two short takes) moves the name on to the next free one.
    QDateTime when = previous.lastModified();
    QString kept;
    for (int tries = 0; tries < 120; ++tries, when = when.addSecs(1)) {
        const QString candidate
            = folder + QLatin1Char('/') + when.toString(ExampleFiles::HistoryNameFormat) + QStringLiteral(".wav");
        if (!QFileInfo::exists(candidate)) {
            kept = candidate;
            break;
        }
    }
    if (kept.isEmpty())
        return {};
    const bool linked = ::link(QFile::encodeName(takePath).constData(), QFile::encodeName(kept).constData()) == 0;
    if (!linked && !QFile::copy(takePath, kept))
        return {};
    return kept;
}

void TakeHistory::Trim(const QString &takePath)
{
    const QString folder = FolderOf(takePath);
    QStringList names = historyNames(folder);
    while (names.size() > Kept)
        QFile::remove(folder + QLatin1Char('/') + names.takeFirst());
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
    for (const QString &name : historyNames(folder))
        paths << folder + QLatin1Char('/') + name;
    return paths;
}
