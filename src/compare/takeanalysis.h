// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/takecomparison.h"
#include "sound/api/monosound.h"

#include <QString>

// Aligns the learner's take with the reciter's recitation and finds where the
// learner held a sound clearly longer or shorter. Runs on a worker thread: it
// does all of the arithmetic at once on sounds already read (TakeFiles reads them).
class TakeAnalysis final
{
public:
    // Held at least 40 % longer, or 40 % shorter, than the reciter...
    static constexpr double LongRatio = 1.4;
    static constexpr double ShortRatio = 0.6;
    // ...for at least this long, on the longer side: the reciter's time, or the
    // learner's measured at the learner's own pace.
    static constexpr double LeastSegmentSeconds = 0.15;
    // The pace is measured over this much of the reciter's time, so that one
    // frame's wobble of the alignment is not taken for a held sound.
    static constexpr double PaceWindowSeconds = 0.1;
    // A marked stretch reaches out from where the pace passes the ratios above
    // while it stays at least this far (15 %) on the same side.
    static constexpr double ExtendRatio = 1.15;

    // Voice beyond this on either side is not compared: an example is a few
    // words, and the alignment's memory grows with the square of the length.
    static constexpr double LongestVoiceSeconds = 60.0;

    static TakeComparison Compare(const MonoSound &reference, const MonoSound &take);
};
