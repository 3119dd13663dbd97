// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/speechfeatures.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

namespace {

constexpr float SilentDb = -120.0f;
// Quieter than this at its loudest, a take holds no voice, only the background.
constexpr float QuietestVoiceDb = -45.0f;
// A voice rises this far above the take's quietest frame at least; a steady hum
// does not.
constexpr float LeastContrastDb = 12.0f;
// Ends are trimmed where the sound falls this far below the loudest frame, or
// near the background when that is louder, but never closer to the peak than
// TrimAtLeastDb.
constexpr float TrimBelowPeakDb = 30.0f;
constexpr float TrimAtLeastDb = 20.0f;
constexpr float AboveBackgroundDb = 6.0f;
// A click or a breath shorter than this does not open or close the voice.
constexpr int LeastRunFrames = 3;
constexpr int LeastVoicedFrames = 10;
constexpr int Filters = 20;
constexpr float LowestHz = 100.0f;
constexpr float HighestHz = 5000.0f;

} // namespace

std::vector<float> SpeechFeatures::Levels(const MonoSound &sound)
{
    const size_t frames = sound.samples.size() / Hop;
    std::vector<float> levels(frames);
    for (size_t f = 0; f < frames; ++f) {
        double energy = 0;
        const float *s = sound.samples.data() + f * Hop;
        for (int i = 0; i < Hop; ++i)
            energy += double(s[i]) * s[i];
        const double rms = std::sqrt(energy / Hop);
        levels[f] = rms > 1e-6 ? std::max(SilentDb, float(20.0 * std::log10(rms))) : SilentDb;
    }
    return levels;
}

SpeechFeatures::Span SpeechFeatures::VoicedSpan(const std::vector<float> &levels)
{
    Span span;
    if (levels.empty())
        return span;
    const float peak = *std::max_element(levels.begin(), levels.end());
    const float quietest = *std::min_element(levels.begin(), levels.end());
    if (peak < QuietestVoiceDb || peak - quietest < LeastContrastDb)
        return span;
    // The background: the quietest tenth of the frames. Where the voice fills the
    // whole take that is the voice's soft parts, hence the bounds.
    std::vector<float> sorted = levels;
    const auto tenth = sorted.begin() + qsizetype(sorted.size() / 10);
    std::nth_element(sorted.begin(), tenth, sorted.end());
    const float threshold
        = std::max(peak - TrimBelowPeakDb, std::min(*tenth + AboveBackgroundDb, peak - TrimAtLeastDb));
    const int count = int(levels.size());
    auto runStartsAt = [&](int f, int direction) {
        for (int k = 0; k < LeastRunFrames; ++k) {
            const int at = f + k * direction;
            if (at < 0 || at >= count || levels[size_t(at)] < threshold)
                return false;
        }
        return true;
    };
    int first = 0;
    while (first < count && !runStartsAt(first, 1))
        ++first;
    int last = count - 1;
    while (last >= first && !runStartsAt(last, -1))
        --last;
    if (first >= count || last - first + 1 < LeastVoicedFrames)
        return span;
    span.first = first;
    span.last = last;
    return span;
}

// The mel filters and the cosine transform are the same for every frame and
// every take: built once. Doing the few lines of an MFCC here keeps a heavy
// audio library (and the codecs it drags in) out of the program's start-up.
namespace {

constexpr int Bins = SpeechFeatures::Window / 2 + 1;
constexpr int Cosines = SpeechFeatures::Coefficients + 1;

double Mel(double hz)
{
    return 2595.0 * std::log10(1.0 + hz / 700.0);
}
double HzOfMel(double mel)
{
    return 700.0 * (std::pow(10.0, mel / 2595.0) - 1.0);
}

struct MelTables final
{
    std::array<std::array<float, Bins>, Filters> filters {};
    std::array<std::array<float, Filters>, Cosines> cosines {};
    std::array<float, SpeechFeatures::Window> hann {};

    MelTables()
    {
        // Triangles evenly spaced on the mel scale, each overlapping half of its
        // neighbours, on the bins of a Window-point spectrum.
        std::array<double, Filters + 2> edges {};
        for (int i = 0; i < Filters + 2; ++i)
            edges[size_t(i)] = HzOfMel(Mel(LowestHz) + (Mel(HighestHz) - Mel(LowestHz)) * i / (Filters + 1));
        for (int m = 0; m < Filters; ++m) {
            const double low = edges[size_t(m)], mid = edges[size_t(m) + 1], high = edges[size_t(m) + 2];
            for (int k = 0; k < Bins; ++k) {
                const double hz = double(k) * SpeechFeatures::Rate / SpeechFeatures::Window;
                double w = 0;
                if (hz > low && hz <= mid)
                    w = (hz - low) / (mid - low);
                else if (hz > mid && hz < high)
                    w = (high - hz) / (high - mid);
                filters[size_t(m)][size_t(k)] = float(w);
            }
        }
        for (int c = 0; c < Cosines; ++c)
            for (int m = 0; m < Filters; ++m)
                cosines[size_t(c)][size_t(m)] = float(std::cos(M_PI * c * (m + 0.5) / Filters));
        for (int i = 0; i < SpeechFeatures::Window; ++i)
            hann[size_t(i)] = float(0.5 - 0.5 * std::cos(2.0 * M_PI * i / SpeechFeatures::Window));
    }
};

// In-place radix-2 FFT of a power-of-two length.
void Fft(std::array<std::complex<float>, SpeechFeatures::Window> &x)
{
    const size_t n = x.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<float> step = std::polar(1.0f, float(-2.0 * M_PI / double(len)));
        for (size_t i = 0; i < n; i += len) {
            std::complex<float> w = 1.0f;
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<float> u = x[i + k], v = x[i + k + len / 2] * w;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

} // namespace

std::vector<float> SpeechFeatures::Cepstra(const MonoSound &sound, Span span)
{
    static_assert((Window & (Window - 1)) == 0, "the FFT needs a power-of-two window");
    if (span.IsEmpty())
        return {};
    static const MelTables tables;
    const int frames = span.Count();
    std::vector<float> out(size_t(frames) * Coefficients, 0.0f);
    std::array<std::complex<float>, Window> spectrum;
    std::array<float, Filters> logEnergy {};
    const auto total = qsizetype(sound.samples.size());
    for (int f = 0; f < frames; ++f) {
        // Centred on the frame its level was measured on.
        const qsizetype start = qsizetype(span.first + f) * Hop + Hop / 2 - Window / 2;
        for (int i = 0; i < Window; ++i) {
            const qsizetype at = start + i;
            const float s = at >= 0 && at < total ? sound.samples[size_t(at)] : 0.0f;
            spectrum[size_t(i)] = s * tables.hann[size_t(i)];
        }
        Fft(spectrum);
        for (int m = 0; m < Filters; ++m) {
            double energy = 0;
            for (int k = 0; k < Bins; ++k)
                energy += double(tables.filters[size_t(m)][size_t(k)]) * std::abs(spectrum[size_t(k)]);
            logEnergy[size_t(m)] = float(std::log10(energy + 1e-10));
        }
        for (int c = 1; c < Cosines; ++c) {
            double sum = 0;
            for (int m = 0; m < Filters; ++m)
                sum += double(tables.cosines[size_t(c)][size_t(m)]) * logEnergy[size_t(m)];
            out[size_t(f) * Coefficients + size_t(c - 1)] = float(sum);
        }
    }
    // The microphone and the room colour every frame alike: their mean goes.
    for (int c = 0; c < Coefficients; ++c) {
        double mean = 0;
        for (int f = 0; f < frames; ++f)
            mean += out[size_t(f) * Coefficients + size_t(c)];
        mean /= frames;
        for (int f = 0; f < frames; ++f)
            out[size_t(f) * Coefficients + size_t(c)] -= float(mean);
    }
    return out;
}
