// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
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
// second window on the same course never takes a journal in use for a leftover;
// the same goes for the temporary file of a save being written.
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

// A second window recording the same example cannot have the first one's
// journal (it is locked, or holds a take nobody has recovered yet): it takes
// the next name, ".3-1-2.wav.2.journal", and so on up to Writers.
constexpr int Writers = 9;
QString JournalName(const QString &takeFileName, int writer = 1);
// The take a journal is for ("3-1-2.wav"), or empty when the name is not a journal's.
QString TakeOfJournal(const QString &journalFileName);

// A journal that a full disk cut short, at the program's end, carries the
// length of the whole take in its header (beyond what the file holds), so that
// whoever recovers it can tell the learner it is only part of the take.
bool MarkPartial(int fd, qint64 takeBytes);

// What a journal file holds, from its header and its length.
struct Contents
{
    bool ours = false; // a WAV journal at all
    qint64 soundBytes = 0;
    qint64 takeBytes = 0; // the whole take: more than soundBytes when marked partial
    bool commented = false; // ends with its comment, sizes set: a finished take
};
Contents Inspect(int fd);

// How the earlier takes are kept when a journal replaces a saved take: keep
// returns where the previous take went (empty when it could not be kept, and
// then the journal waits rather than replace it); withdraw undoes a keep whose
// journal could not be placed after all.
struct History
{
    std::function<QString(const QString &take)> keep;
    std::function<void(const QString &kept)> withdraw;
};

struct Recovered
{
    QString take; // the file name in the takes' folder
    qint64 ms = 0; // what came back
    qint64 wholeMs = 0; // the whole take; more than ms when only part came back
    QString keptPrevious; // where the take it replaced went, empty when none
};

struct Recovery
{
    // The takes that were made whole again, as file names in the takes' folder.
    QStringList recovered;
    QList<Recovered> details;
    // Journals that could not be made into their takes (the folder cannot be
    // written, or the take there could not be kept); they stay where they are
    // for the next start.
    QStringList kept;
    // Leftovers removed: journals of takes too short and temporary files of
    // saves that were cut off.
    int removed = 0;
};

// Makes every journal left in recDir or in fallbackDir (where journals go when
// recDir cannot be written; may be empty) into the take it was for, in recDir.
// A journal is never thrown away for a take that looks newer (file times lie
// when a clock does): the take there goes to the history first, and when it
// cannot, the journal stays. Removes the temporary files an interrupted save
// left in recDir and fallbackDir, unless their writer still holds them.
Recovery Recover(const QString &recDir, const QString &fallbackDir, const History &history = {});

} // namespace TakeJournal
