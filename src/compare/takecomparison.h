// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The reciter's recitation and the learner's take of one example, aligned. Times
// are seconds from the start of each file, so a stretch can be played as it is.
struct TakeComparison final
{
    enum class Status {
        Compared,
        NoVoice, // the take holds nothing louder than its background
        ReferenceSilent,
        TooLong, // more voice than an example holds; its alignment would take too much memory
        TakeUnreadable,
        ReferenceUnreadable,
    };

    struct HeldSegment final
    {
        enum class Kind { Long, Short };
        Kind kind = Kind::Long;
        double referenceStart = 0;
        double referenceEnd = 0;
        double takeStart = 0;
        double takeEnd = 0;
        // Steps of the aligned path the stretch covers, for drawing.
        int pathStart = 0;
        int pathEnd = 0;

        double Ratio() const;
    };

    Status status = Status::TakeUnreadable;
    QString error; // what went wrong, for the log; the learner reads Sentence()
    // The reciter's speed the take was judged against, as the learner heard it.
    int referencePercent = 100;
    double frameSeconds = 0;
    // Where the voice starts and ends in each file, silence at both ends left out.
    double referenceStart = 0;
    double referenceEnd = 0;
    double takeStart = 0;
    double takeEnd = 0;
    // Loudness per frame in dB below the loudest frame (0 = loudest), voiced part only.
    std::vector<float> referenceLevel;
    std::vector<float> takeLevel;
    // Pairs of (reference frame, take frame), both rising from (0, 0) to the last frames.
    std::vector<std::pair<int, int>> path;
    std::vector<HeldSegment> segments;

    bool IsCompared() const { return status == Status::Compared; }
    double ReferenceSeconds() const { return referenceEnd - referenceStart; }
    double TakeSeconds() const { return takeEnd - takeStart; }
    // The take's length against the reciter's, as a whole percentage: -20 is a
    // take one fifth shorter.
    int PercentDifference() const;
    int CountOf(HeldSegment::Kind kind) const;
    // What a screen reader says of the comparison, in one sentence.
    QString Sentence() const;
    // How a take's length stands to the reciter's, by percent: "أطول من تلاوة
    // القارئ بـ ١٢٪", "بطول تلاوة القارئ". The sentence and the takes' list say it so.
    static QString DifferenceFromReciter(int percent);
    // The two durations, said in full.
    QString Durations() const;
};
