// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/takecomparison.h"

#include <QString>
#include <QStringList>
#include <vector>

// Each word and each rule span of a take, judged against the reciter's: the
// author's word times are carried onto the take through the comparison's
// alignment, so no speech recogniser is needed.
//
// Lengths are judged after the learner's own tempo is taken out (the median of
// the words' length ratios): a learner who reads everything slower is not told
// every word is long. A word is named when its length differs from the
// reciter's by more than a quarter at that tempo. A rule span's count is the
// reciter's span divided by its counts, scaled by the learner's tempo around
// the span (the words before and after it, the span's own words left out; the
// whole take's where it has no neighbour). The take's span is what its words
// hold beyond the rest of them read at that tempo (the words' edges are where
// the alignment is sure; inside a held sound it is not), told in those counts,
// to the nearest half, when it falls outside what is accepted.
namespace WordJudge {

// Times in seconds of the reciter's original sound, as the author gives them.
struct Word
{
    double start = 0;
    double end = 0;
    QString text;
};

struct Rule
{
    double start = 0;
    double end = 0;
    QString name;
    double counts = 0; // what the reciter gives the span
    double acceptedLow = 0;
    double acceptedHigh = 0;
};

struct WordResult
{
    QString text;
    // Seconds of the reciter as the learner heard it (perhaps slowed).
    double referenceStart = 0;
    double referenceEnd = 0;
    double takeStart = 0; // seconds of the take's file
    double takeEnd = 0;
    // Its length against the reciter's, the learner's tempo taken out: 1.9 is
    // held nine tenths longer.
    double ratio = 1;
    bool named = false;
};

struct RuleResult
{
    QString name;
    QStringList words; // the words the span lies on
    bool measured = false; // false: the alignment could not place it
    double counts = 0; // the take's, to the nearest half
    bool outside = false; // not within what is accepted
    double acceptedLow = 0;
    double acceptedHigh = 0;
};

struct Result
{
    bool judged = false; // a comparison and words to judge
    double tempo = 1; // the take's length per second of the reciter's
    std::vector<WordResult> words;
    std::vector<RuleResult> rules;

    int WordsOff() const;
    int RulesOff() const;
    // What a screen reader says: each word named and each rule outside its
    // counts; empty when all is well or nothing was judged.
    QString Sentence() const;
};

// How far beyond the reciter's length, at the learner's tempo, a word is named.
constexpr double NamedShare = 0.25;

// The comparison's reference is the reciter as the learner heard it (slowed to
// its referencePercent), so the author's times are stretched to it first.
Result Judge(const TakeComparison &comparison, const std::vector<Word> &words, const std::vector<Rule> &rules);

// "٤ حركات", "٢٫٥ حركات", "حركتان" is said "٢ حركتان": the count in Arabic
// digits and the counted noun.
QString CountsWording(double counts);

} // namespace WordJudge
