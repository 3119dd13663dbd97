// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The times of an example's words and the spans of its rules, as the course
// author gives them beside the example's sound: data/examples/c-l-n.words and
// c-l-n.rules, in the label-track text that audio editors export and read
// (Audacity's "start<TAB>end<TAB>label", seconds with a decimal point, UTF-8,
// one label a line). A rule's label is "rule|counts" or "rule|counts|accepted",
// counts a number or a range: "مد متصل|4|4-5", "غنة|2".
namespace WordTimes {

inline const QString WordsSuffix = QStringLiteral(".words");
inline const QString RulesSuffix = QStringLiteral(".rules");

struct Label
{
    double start = 0; // seconds from the start of the example's sound
    double end = 0;
    QString text;
    int line = 0; // in its file, from 1
};

// Something wrong with a file, for the author: the line (0: the file as a
// whole) and what, in English.
struct Problem
{
    int line = 0;
    QString message;
};

struct Track
{
    QList<Label> labels;
    QList<Problem> problems; // lines that could not be read
};

// Reads a label track. Blank lines are skipped, as are the frequency lines an
// editor writes under a spectral label (they start with a backslash).
Track Read(const QByteArray &bytes);
// The track as an editor reads it back, times to the millisecond.
QByteArray Write(const QList<Label> &labels);

// The words of an example's text: its blank-separated pieces that hold an
// Arabic letter (a verse number or a pause sign alone is no word).
QStringList WordsOf(const QString &text);
// A word as it is compared: its vowel marks, Quranic signs and tatweel taken
// off, so that a label written with fewer marks than the text still matches.
QString Bare(const QString &word);

// A count or a range of counts: "4", "4-5", "4.5".
struct Counts
{
    double low = 0;
    double high = 0;
};
std::optional<Counts> ParseCounts(const QString &text);

struct Rule
{
    QString name;
    Counts counts; // what the reciter gives the span
    Counts accepted; // what a learner may give it; the counts when not given
};
// A rule span's label, or the reason it is not one.
std::optional<Rule> ParseRule(const QString &label, QString *why);

// What is wrong with a words track against the example's words (none given:
// the example shows a picture, and only the times are checked) and the length
// of its sound (0: no sound to measure against).
QList<Problem> CheckWords(const Track &track, const std::optional<QStringList> &words, double soundSeconds);
// What is wrong with a rules track against the example's words track and sound.
QList<Problem> CheckRules(const Track &rules, const Track &words, double soundSeconds);

} // namespace WordTimes
