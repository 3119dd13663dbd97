// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/takeanalysis.h"

#include "compare/speechfeatures.h"
#include "compare/warppath.h"

#include <algorithm>
#include <cmath>

namespace {

using Kind = TakeComparison::HeldSegment::Kind;

// The alignment may stray this far from the even pace: a quarter of the longer
// take, and never less than a quarter second.
constexpr double BandShare = 0.25;
constexpr double LeastBandSeconds = 0.25;
// Levels are drawn down to this far below the loudest frame.
constexpr float DeepestLevelDb = -60.0f;

struct Side final
{
    SpeechFeatures::Span span;
    std::vector<float> features; // Dims per frame
    std::vector<float> levels; // dB below the peak, voiced span only
};

constexpr int Dims = SpeechFeatures::Coefficients + 1;

// Cepstra scaled to unit spread per coefficient, and loudness beside them: the
// spectrum tells vowels apart, loudness tells a held vowel from the pause after it.
Side describe(const MonoSound &sound, const std::vector<float> &levels, SpeechFeatures::Span span)
{
    Side side;
    side.span = span;
    const int frames = span.Count();
    const std::vector<float> cepstra = SpeechFeatures::Cepstra(sound, span);
    if (cepstra.size() != size_t(frames) * SpeechFeatures::Coefficients)
        return side;
    const float peak = *std::max_element(levels.begin() + span.first, levels.begin() + span.last + 1);
    side.levels.resize(size_t(frames));
    side.features.assign(size_t(frames) * Dims, 0.0f);
    for (int f = 0; f < frames; ++f) {
        const float level = std::max(DeepestLevelDb, levels[size_t(span.first + f)] - peak);
        side.levels[size_t(f)] = level;
        std::copy_n(cepstra.begin() + qsizetype(f) * SpeechFeatures::Coefficients, SpeechFeatures::Coefficients,
            side.features.begin() + qsizetype(f) * Dims);
        side.features[size_t(f) * Dims + SpeechFeatures::Coefficients] = level;
    }
    for (int d = 0; d < Dims; ++d) {
        double mean = 0, square = 0;
        for (int f = 0; f < frames; ++f) {
            const double v = side.features[size_t(f) * Dims + size_t(d)];
            mean += v;
            square += v * v;
        }
        mean /= frames;
        const double spread = std::sqrt(std::max(0.0, square / frames - mean * mean));
        const double scale = spread > 1e-6 ? 1.0 / spread : 0.0;
        for (int f = 0; f < frames; ++f) {
            float &v = side.features[size_t(f) * Dims + size_t(d)];
            v = float((v - mean) * scale);
        }
    }
    return side;
}

// The frames resampled to another count by linear interpolation.
std::vector<float> evenPaced(const std::vector<float> &features, int frames, int count)
{
    std::vector<float> out(size_t(count) * Dims);
    const double step = count > 1 ? double(frames - 1) / (count - 1) : 0.0;
    for (int n = 0; n < count; ++n) {
        const double at = n * step;
        const int a = std::min(frames - 1, int(at));
        const int b = std::min(frames - 1, a + 1);
        const float t = float(at - a);
        for (int d = 0; d < Dims; ++d)
            out[size_t(n) * Dims + size_t(d)]
                = features[size_t(a) * Dims + size_t(d)] * (1 - t) + features[size_t(b) * Dims + size_t(d)] * t;
    }
    return out;
}

} // namespace

TakeComparison TakeAnalysis::Compare(const MonoSound &reference, const MonoSound &take)
{
    TakeComparison result;
    result.frameSeconds = SpeechFeatures::FrameSeconds;
    const std::vector<float> referenceLevels = SpeechFeatures::Levels(reference);
    const std::vector<float> takeLevels = SpeechFeatures::Levels(take);
    const SpeechFeatures::Span referenceSpan = SpeechFeatures::VoicedSpan(referenceLevels);
    const SpeechFeatures::Span takeSpan = SpeechFeatures::VoicedSpan(takeLevels);
    if (referenceSpan.IsEmpty()) {
        result.status = TakeComparison::Status::ReferenceSilent;
        return result;
    }
    if (takeSpan.IsEmpty()) {
        result.status = TakeComparison::Status::NoVoice;
        return result;
    }
    const int longest = int(LongestVoiceSeconds / SpeechFeatures::FrameSeconds);
    if (referenceSpan.Count() > longest || takeSpan.Count() > longest) {
        result.status = TakeComparison::Status::TooLong;
        result.error = QStringLiteral("more than %1 s of voice").arg(LongestVoiceSeconds);
        return result;
    }
    const Side ref = describe(reference, referenceLevels, referenceSpan);
    const Side own = describe(take, takeLevels, takeSpan);
    const int rows = referenceSpan.Count();
    const int cols = takeSpan.Count();
    if (ref.features.empty() || own.features.empty()) {
        result.status = TakeComparison::Status::TakeUnreadable;
        result.error = QStringLiteral("the spectral analysis could not start");
        return result;
    }

    const double frame = SpeechFeatures::FrameSeconds;
    result.referenceLevel = ref.levels;
    result.takeLevel = own.levels;
    result.referenceStart = referenceSpan.first * frame;
    result.referenceEnd = (referenceSpan.last + 1) * frame;
    result.takeStart = takeSpan.first * frame;
    result.takeEnd = (takeSpan.last + 1) * frame;
    result.status = TakeComparison::Status::Compared;

    // The take is brought to the reciter's length before it is aligned: a learner
    // who recites more slowly throughout holds each madd for its counts at that
    // pace, so only a sound held out of proportion to the take is marked. It
    // also spares the alignment from placing a steady difference of pace in
    // whichever vowels are steadiest.
    const double scale = rows > 1 ? double(cols - 1) / (rows - 1) : 0.0;
    const std::vector<float> even = evenPaced(own.features, cols, rows);
    const int band = int(std::max(LeastBandSeconds / frame, BandShare * rows));
    const std::vector<std::pair<int, int>> evenPath = WarpPath::Align(ref.features, rows, even, rows, Dims, band);
    auto toTake = [&](double evenFrame) { return std::clamp(int(std::lround(evenFrame * scale)), 0, cols - 1); };
    result.path.reserve(evenPath.size());
    for (const auto &[i, j] : evenPath) {
        const std::pair<int, int> step(i, toTake(j));
        if (result.path.empty() || result.path.back() != step)
            result.path.push_back(step);
    }

    // The pace, frame by frame of the reciter, over a short window.
    const std::vector<double> matched = WarpPath::MatchedPositions(evenPath, rows);
    const int half = std::max(1, int(std::lround(PaceWindowSeconds / frame / 2)));
    std::vector<double> pace(size_t(rows), 1.0);
    for (int i = 0; i < rows; ++i) {
        const int from = std::max(0, i - half);
        const int to = std::min(rows - 1, i + half);
        if (to > from)
            pace[size_t(i)] = (matched[size_t(to)] - matched[size_t(from)]) / (to - from);
    }

    // First and last path steps on each reference frame, to turn a run of
    // reference frames into its stretch of the take.
    std::vector<int> firstStep(size_t(rows), -1), lastStep(size_t(rows), -1);
    for (int k = 0; k < int(result.path.size()); ++k) {
        const int i = result.path[size_t(k)].first;
        if (firstStep[size_t(i)] < 0)
            firstStep[size_t(i)] = k;
        lastStep[size_t(i)] = k;
    }

    // A stretch starts where the pace passes 40 % and reaches out while it stays
    // clearly on that side: the alignment may gather a vowel's whole difference
    // into a few frames of it, and the stretch must still cover the vowel.
    auto kindAt = [&](int i, double share) -> int {
        if (pace[size_t(i)] >= share)
            return int(Kind::Long);
        if (pace[size_t(i)] <= 1.0 / share)
            return int(Kind::Short);
        return -1;
    };
    struct Candidate final
    {
        TakeComparison::HeldSegment segment;
        int first;
        int last;
    };
    std::vector<Candidate> candidates;
    int covered = -1;
    for (int seed = 0; seed < rows; ++seed) {
        const int kind = pace[size_t(seed)] >= LongRatio ? int(Kind::Long)
            : pace[size_t(seed)] <= ShortRatio           ? int(Kind::Short)
                                                         : -1;
        if (kind < 0 || seed <= covered)
            continue;
        int first = seed;
        while (first > covered + 1 && kindAt(first - 1, ExtendRatio) == kind)
            --first;
        int last = seed;
        while (last + 1 < rows && kindAt(last + 1, ExtendRatio) == kind)
            ++last;
        covered = last;

        // Held out of proportion over the whole stretch, or over its core from
        // the first to the last frame past the ratio, the alignment having
        // smeared the stretch's edges into its neighbours; and long enough, the
        // learner's side counted at the learner's own pace so that a slower
        // reading does not lift a short wobble over the bar.
        const double strong = kind == int(Kind::Long) ? LongRatio : 1.0 / ShortRatio;
        auto holds = [&](int from, int to) {
            const double referenceFrames = to - from + 1;
            const double evenFrames = matched[size_t(to)] - matched[size_t(from)] + 1;
            const double ratio = evenFrames / referenceFrames;
            const bool outOfProportion = kind == int(Kind::Long) ? ratio >= LongRatio : ratio <= ShortRatio;
            return outOfProportion && std::max(referenceFrames, evenFrames) * frame >= LeastSegmentSeconds - frame / 2;
        };
        int coreFirst = first;
        while (coreFirst < last && kindAt(coreFirst, strong) != kind)
            ++coreFirst;
        int coreLast = last;
        while (coreLast > coreFirst && kindAt(coreLast, strong) != kind)
            --coreLast;
        if (!holds(first, last) && !holds(coreFirst, coreLast))
            continue;
        TakeComparison::HeldSegment segment;
        segment.kind = Kind(kind);
        segment.pathStart = firstStep[size_t(first)];
        segment.pathEnd = lastStep[size_t(last)];
        const int takeFirst = result.path[size_t(segment.pathStart)].second;
        const int takeLast = result.path[size_t(segment.pathEnd)].second;
        segment.referenceStart = result.referenceStart + first * frame;
        segment.referenceEnd = result.referenceStart + (last + 1) * frame;
        segment.takeStart = result.takeStart + takeFirst * frame;
        segment.takeEnd = result.takeStart + (takeLast + 1) * frame;
        candidates.push_back({ segment, first, last });
    }

    // Ahead and at once behind again by as much is the alignment hesitating over
    // a boundary, not a sound held: such a pair is dropped.
    constexpr int Adjacent = 3;
    for (size_t k = 0; k < candidates.size(); ++k) {
        if (k + 1 < candidates.size()) {
            const Candidate &a = candidates[k];
            const Candidate &b = candidates[k + 1];
            if (a.segment.kind != b.segment.kind && b.first - a.last <= Adjacent) {
                const double together
                    = (matched[size_t(b.last)] - matched[size_t(a.first)] + 1) / double(b.last - a.first + 1);
                if (together > 1.0 / ExtendRatio && together < ExtendRatio) {
                    ++k;
                    continue;
                }
            }
        }
        result.segments.push_back(candidates[k].segment);
    }
    return result;
}
