// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pageposition.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The one place of the naming rule: an example's files are named from the
// page it is on and its number, c-l-n (chapter, lesson, example) or, on an
// entry's sub-page of an index lesson, c-l-k-n; the sound, the text, the
// picture and the learner's newest take share that name in their folders,
// and the earlier takes live in rec/history/c-l-n/ under the order they were
// kept in and the time they were recorded. Everything that writes or parses such a name goes through here.
class ExampleFiles final
{
public:
    // Each ends with a separator.
    struct Folders
    {
        QString examples;
        QString text;
        QString images;
        QString rec;
    };

    struct Example
    {
        PagePosition page;
        int number = 0;
    };

    ExampleFiles() = default;
    explicit ExampleFiles(Folders folders);

    static QString BaseName(const PagePosition &page, int n);
    // Back from a base name (or a take's file name): none when it is not one.
    static std::optional<Example> Parse(const QString &name);
    // "المثال ٣ من الدرس ٢ من الباب ١", for telling a learner which take.
    static QString Described(const QString &name);

    QString Sound(const QString &base) const { return m_folders.examples + base + QStringLiteral(".mp3"); }
    QString Text(const QString &base) const { return m_folders.text + base + QStringLiteral(".txt"); }
    // The GIF when there is one, else the JPEG; empty when neither is there.
    QString Picture(const QString &base) const;
    QString Take(const QString &base) const { return m_folders.rec + base + QStringLiteral(".wav"); }
    // The reciter's sound of a take, wherever the take is kept.
    QString SoundOfTake(const QString &takePath) const;
    // The author's word times and rule spans beside an example's sound.
    static QString WordsOfSound(const QString &soundPath);
    static QString RulesOfSound(const QString &soundPath);
    const Folders &folders() const { return m_folders; }

    // The history folder of a take: rec/history/3-1-2/ for rec/3-1-2.wav.
    static QString HistoryFolderOf(const QString &takePath);
    // An earlier take's name: the order it was kept in, then the local time
    // it was recorded, for people to read: "0041-20261208-101512.wav". The
    // order is the number, never the time: a clock set back, a change of
    // daylight saving or of time zone must not reorder the takes. Names
    // without a number ("20261208-101512.wav", from before) come first,
    // among themselves by name.
    struct HistoryName
    {
        qint64 sequence = 0; // 0 for a name without one
        QDateTime recorded;
    };
    static QString HistoryFileName(qint64 sequence, const QDateTime &recorded);
    static std::optional<HistoryName> ParseHistoryName(const QString &fileName);
    // The order alone, without reading the time (the progress counts earlier
    // takes before the first page): none when the name is not an earlier take's.
    static std::optional<qint64> HistorySequence(const QString &fileName);

    // A take's file carries the reciter's speed the learner heard before it,
    // as its comment; a take without one (older, or recovered after a crash)
    // counts as made at full speed.
    static QString SpeedComment(int percent);
    static int SpeedOfComment(const QString &comment);

private:
    Folders m_folders;
};
