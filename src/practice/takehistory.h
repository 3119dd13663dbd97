// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Every take of an example is kept: the newest stays rec/c-l-n.wav, where it has
// always been, and each one it replaces goes to rec/history/c-l-n/ under the
// next number in order and the local time it was recorded
// (NNNN-YYYYMMDD-HHMMSS.wav), at most Kept of them per example, the first kept
// let go first. The order never comes from a clock, which may be wrong. The files are the whole record: nothing
// else is written.
//
// The take about to be replaced is linked (or, where the file system has no
// links, copied) into the history before the new one is saved, so that the
// save stays one rename and a failed save leaves both where they were.
class TakeHistory final
{
public:
    static constexpr int Kept = 20;
    static inline const QString Folder = QStringLiteral("history");

    // The history folder of a take: rec/history/3-1-2/ for rec/3-1-2.wav.
    static QString FolderOf(const QString &takePath);

    // Before a new take replaces takePath: keeps the one there (if any) in the
    // history. Returns the kept copy's path, empty when there was nothing to
    // keep or it could not be kept.
    static QString KeepPrevious(const QString &takePath);
    // The save that KeepPrevious prepared for failed: the take is still the
    // newest, so its copy in the history goes.
    static void Withdraw(const QString &keptPath);
    // The save went through: the history is trimmed to Kept, oldest first.
    static void Trim(const QString &takePath);

    // The earlier takes of an example, in the order they were kept.
    static QStringList Earlier(const QString &takePath);
};
