// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/monosound.h"

#include <vector>

// Frames every 10 ms: loudness, and the spectral shape (MFCC) that tells one
// sound of speech from the next whoever says it and however loud.
class SpeechFeatures final
{
public:
    static constexpr int Rate = 11025;
    static constexpr int Hop = 110; // 9.98 ms
    static constexpr int Window = 256;
    static constexpr int Coefficients = 12; // c1..c12; c0 is loudness, which the mic decides
    static constexpr double FrameSeconds = double(Hop) / Rate;

    // Loudness in dBFS of each frame of the sound.
    static std::vector<float> Levels(const MonoSound &sound);

    // The voiced stretch: frames [first, last] between the silence at both ends,
    // or first > last when nothing stands out from the background.
    struct Span final
    {
        int first = 0;
        int last = -1;
        bool IsEmpty() const { return last < first; }
        int Count() const { return last - first + 1; }
    };
    static Span VoicedSpan(const std::vector<float> &levels);

    // MFCCs of frames [span.first, span.last], Coefficients per frame, each
    // coefficient's mean over the span taken away.
    static std::vector<float> Cepstra(const MonoSound &sound, Span span);
};
