#include "compare/speechfeatures.h"

#include <QtGlobal>

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>

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

std::vector<float> SpeechFeatures::Cepstra(const MonoSound &sound, Span span)
{
    if (span.IsEmpty())
        return {};
    const int frames = span.Count();
    std::vector<float> out(size_t(frames) * Coefficients, 0.0f);

    fvec_t *input = new_fvec(Window);
    cvec_t *spectrum = new_cvec(Window);
    fvec_t *coefficients = new_fvec(Coefficients + 1);
    aubio_fft_t *fft = new_aubio_fft(Window);
    aubio_mfcc_t *mfcc = new_aubio_mfcc(Window, Filters, Coefficients + 1, Rate);
    if (!input || !spectrum || !coefficients || !fft || !mfcc) {
        out.clear();
    } else {
        aubio_mfcc_set_mel_coeffs(mfcc, LowestHz, HighestHz);
        std::vector<float> hann(Window);
        for (int i = 0; i < Window; ++i)
            hann[size_t(i)] = float(0.5 - 0.5 * std::cos(2.0 * M_PI * i / Window));
        const auto total = qsizetype(sound.samples.size());
        for (int f = 0; f < frames; ++f) {
            // Centred on the frame its level was measured on.
            const qsizetype start = qsizetype(span.first + f) * Hop + Hop / 2 - Window / 2;
            for (int i = 0; i < Window; ++i) {
                const qsizetype at = start + i;
                const float s = at >= 0 && at < total ? sound.samples[size_t(at)] : 0.0f;
                input->data[i] = s * hann[size_t(i)];
            }
            aubio_fft_do(fft, input, spectrum);
            aubio_mfcc_do(mfcc, spectrum, coefficients);
            for (int c = 0; c < Coefficients; ++c)
                out[size_t(f) * Coefficients + size_t(c)] = coefficients->data[c + 1];
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
    }
    if (mfcc)
        del_aubio_mfcc(mfcc);
    if (fft)
        del_aubio_fft(fft);
    if (coefficients)
        del_fvec(coefficients);
    if (spectrum)
        del_cvec(spectrum);
    if (input)
        del_fvec(input);
    return out;
}
