// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// A take is written to its journal while it is recorded: a WAV file of the
// learner's format (8-bit unsigned, 11025 Hz, mono) beside where the take will
// be saved, hidden by a leading dot, named after the take ("3-1-2.wav" has the
// journal ".3-1-2.wav.journal"). Its header is kept up to date as sound comes,
// but whoever reads a journal left by a crash goes by the file's size, not by
// the header: the last write may have gone through without the header's.
//
// The writer holds an exclusive lock on the journal while the take runs, so a
// second window on the same course never takes a journal in use for a leftover.
namespace TakeJournal {

constexpr int Rate = 11025;
constexpr int HeaderBytes = 44;
// Shorter than this is a slip of the finger, never a take.
constexpr qint64 ShortestTakeMs = 500;

// The header of a take of dataBytes bytes of sound.
QByteArray Header(quint32 dataBytes);
// Sets the sizes in the header of an open WAV file of ours from the file's
// length. fd is a POSIX descriptor open for writing.
bool FixSizes(int fd);

// Ends a journal's sound with a comment (a RIFF LIST INFO ICMT chunk, which
// libsndfile and TagLib read), its sizes set: right before the journal
// becomes its take. The data chunk keeps the sound alone. False leaves the
// file as it was.
bool AppendComment(int fd, const QByteArray &comment);

QString JournalName(const QString &takeFileName);
// The take a journal is for ("3-1-2.wav"), or empty when the name is not a journal's.
QString TakeOfJournal(const QString &journalFileName);

struct Recovery
{
    // The takes that were made whole again, as file names in the takes' folder.
    QStringList recovered;
    // Journals that could not be made into their takes (the folder cannot be
    // written); they stay where they are for the next start.
    QStringList kept;
    // Leftovers removed: journals of takes too short or older than the take
    // saved since, and temporary files of saves that were cut off.
    int removed = 0;
};

// Makes every journal left in recDir or in fallbackDir (where journals go when
// recDir cannot be written; may be empty) into the take it was for, in recDir,
// unless a newer take of that example is there already. Removes the temporary
// files an interrupted save left in recDir.
// keepPrevious, when given, is called with a take's path before a journal
// replaces it (the earlier takes' history keeps it).
Recovery Recover(const QString &recDir, const QString &fallbackDir,
    const std::function<void(const QString &take)> &keepPrevious = {});

} // namespace TakeJournal
