// SPDX-License-Identifier: GPL-3.0-or-later

// The reciter slowed: the program's way of slowing (and SoundTouch's, for
// comparison, when its headers are installed) at 85, 70 and 50 %, on a pure tone
// and on a steady voiced vowel (harmonics of 140 Hz shaped by the formants of
// an open "aa"): the pitch heard against the pitch given (cents), the length
// against the length wanted, and the ripple of the level over the held sound
// (how much a steady vowel flutters once slowed, in 50 ms pieces: 0 is a steady level); then
// how a speech-like sound (a gliding pitch, in syllables) keeps its pitch
// contour and its syllables' onsets, and so does each recorded voice named on
// the command line (a WAV of one channel at 22050 Hz), against its own pitch;
// then the time to slow a 10 s example at 70 %.
#include "sound/core/tempostretch.h"

#ifdef RATTIL_HAVE_SOUNDTOUCH
#include <SoundTouch.h>
#endif

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Rate = 22050;
using Samples = std::vector<float>;

Samples tone(double seconds)
{
    Samples s(size_t(seconds * Rate));
    for (size_t n = 0; n < s.size(); ++n)
        s[n] = float(0.5 * std::sin(2 * M_PI * 440.0 * double(n) / Rate));
    return s;
}

// A held "aa" at 140 Hz: each harmonic weighted by its nearness to the first
// two formants (about 750 and 1200 Hz), the whole at a speaking level.
Samples vowel(double seconds)
{
    Samples s(size_t(seconds * Rate));
    const auto formant
        = [](double f, double centre, double width) { return 1.0 / (1.0 + std::pow((f - centre) / width, 2)); };
    for (int h = 1; 140.0 * h < Rate / 2.0 - 500; ++h) {
        const double f = 140.0 * h;
        const double a = 0.08 * (formant(f, 750, 120) + 0.6 * formant(f, 1200, 150) + 0.15 / h);
        for (size_t n = 0; n < s.size(); ++n)
            s[n] += float(a * std::sin(2 * M_PI * f * double(n) / Rate + h));
    }
    return s;
}

// Speech-like: a vowel whose pitch glides from 120 to 180 Hz and back over
// each second, in syllables (four a second, each rising in 15 ms and fading),
// the vowel's formants as above.
double glidePitch(double t)
{
    return 150.0 - 30.0 * std::cos(2 * M_PI * t);
}

double syllable(double t)
{
    const double in = std::fmod(t, 0.25);
    return in < 0.015 ? in / 0.015 : (in < 0.2 ? 1.0 - (in - 0.015) / 0.185 * 0.7 : 0.0);
}

Samples speech(double seconds)
{
    Samples s(size_t(seconds * Rate));
    const auto formant
        = [](double f, double centre, double width) { return 1.0 / (1.0 + std::pow((f - centre) / width, 2)); };
    std::vector<double> phase(40, 0.0);
    for (size_t n = 0; n < s.size(); ++n) {
        const double t = double(n) / Rate;
        const double f0 = glidePitch(t);
        double v = 0;
        for (int h = 1; h < 40 && f0 * h < Rate / 2.0 - 500; ++h) {
            phase[size_t(h)] += 2 * M_PI * f0 * h / Rate;
            const double f = f0 * h;
            v += 0.08 * (formant(f, 750, 120) + 0.6 * formant(f, 1200, 150) + 0.15 / h) * std::sin(phase[size_t(h)]);
        }
        s[n] = float(v * syllable(t));
    }
    return s;
}

// The fundamental of length samples from `from` (the middle half when not
// given), by the autocorrelation's first peak near its highest (2 to 12 ms),
// refined between samples.
double pitch(const Samples &s, size_t from = 0, size_t length = 0)
{
    if (length == 0) {
        from = s.size() / 4;
        length = std::min<size_t>(s.size() / 2, Rate / 2);
    }
    double best = -1;
    int bestLag = 0;
    std::vector<double> r(Rate / 80 + 2, 0.0);
    for (int lag = Rate / 500; lag <= Rate / 80; ++lag) {
        double sum = 0;
        for (size_t n = from; n < from + length; ++n)
            sum += double(s[n]) * s[n + size_t(lag)];
        r[size_t(lag)] = sum;
    }
    for (int lag = Rate / 500 + 1; lag < Rate / 80; ++lag) {
        // The first peak that comes near the highest: the period, not a multiple.
        if (r[size_t(lag)] > best)
            best = r[size_t(lag)];
    }
    for (int lag = Rate / 500 + 1; lag < Rate / 80; ++lag) {
        if (r[size_t(lag)] >= 0.9 * best && r[size_t(lag)] >= r[size_t(lag - 1)]
            && r[size_t(lag)] >= r[size_t(lag + 1)]) {
            bestLag = lag;
            break;
        }
    }
    if (bestLag == 0)
        return 0;
    const double a = r[size_t(bestLag - 1)], b = r[size_t(bestLag)], c = r[size_t(bestLag + 1)];
    const double shift = (a - c) / (2 * (a - 2 * b + c));
    return Rate / (bestLag + shift);
}

// The level's spread over 50 ms pieces of the middle half (whole periods of
// both sounds, so a steady sound is a steady level), against its mean.
double ripple(const Samples &s)
{
    const size_t piece = Rate / 20;
    std::vector<double> levels;
    for (size_t at = s.size() / 4; at + piece <= s.size() * 3 / 4; at += piece) {
        double sum = 0;
        for (size_t n = at; n < at + piece; ++n)
            sum += double(s[n]) * s[n];
        levels.push_back(std::sqrt(sum / piece));
    }
    double mean = 0, spread = 0;
    for (double l : levels)
        mean += l / levels.size();
    for (double l : levels)
        spread += (l - mean) * (l - mean) / levels.size();
    return mean > 0 ? std::sqrt(spread) / mean : 0;
}

#ifdef RATTIL_HAVE_SOUNDTOUCH
Samples soundTouch(const Samples &in, double speed)
{
    soundtouch::SoundTouch st;
    st.setSampleRate(Rate);
    st.setChannels(1);
    st.setTempo(speed);
    st.setSetting(SETTING_USE_QUICKSEEK, 0);
    st.putSamples(in.data(), uint(in.size()));
    st.flush();
    Samples out(size_t(std::llround(in.size() / speed)) + 8192);
    size_t got = 0;
    while (got < out.size()) {
        const uint n = st.receiveSamples(out.data() + got, uint(out.size() - got));
        if (n == 0)
            break;
        got += n;
    }
    out.resize(std::min(got, size_t(std::llround(in.size() / speed))));
    return out;
}
#endif

double level(const Samples &s, size_t from, size_t length)
{
    double sum = 0;
    for (size_t n = from; n < from + length && n < s.size(); ++n)
        sum += double(s[n]) * s[n];
    return std::sqrt(sum / double(length));
}

// How far the slowed sound's pitch is from where it should be: the median, in
// cents, over 40 ms windows where expected (the pitch at a time of the
// original, 0 where nothing is voiced) gives one.
double pitchOff(const Samples &out, double speed, const std::function<double(double)> &expected)
{
    std::vector<double> errors;
    const size_t window = Rate / 25, hop = Rate / 50;
    for (size_t at = 0; at + window + Rate / 80 + 2 < out.size(); at += hop) {
        const double should = expected((double(at) + window / 2.0) / Rate * speed);
        if (should <= 0)
            continue;
        const double heard = pitch(out, at, window);
        if (heard > 0)
            errors.push_back(std::abs(1200 * std::log2(heard / should)));
    }
    std::sort(errors.begin(), errors.end());
    return errors.empty() ? 9999 : errors[errors.size() / 2];
}

// How well the syllables keep their places: the correlation of the slowed
// sound's 10 ms level with the original's stretched in time (1 is every
// onset where it belongs).
double syllablesKept(const Samples &in, const Samples &out, double speed)
{
    const size_t piece = Rate / 100;
    std::vector<double> a, b;
    for (size_t at = 0; at + piece <= out.size(); at += piece) {
        a.push_back(level(out, at, piece));
        b.push_back(level(in, size_t(double(at) * speed), piece));
    }
    double ma = 0, mb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        ma += a[i] / a.size();
        mb += b[i] / b.size();
    }
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

// The speech-like sound's contour, inside its syllables.
double glideInSyllables(double t)
{
    const double inSyllable = std::fmod(t, 0.25);
    return inSyllable < 0.04 || inSyllable > 0.17 ? 0 : glidePitch(t);
}

// A recorded voice's own contour: its pitch where it is loud enough to be
// voiced (a tenth of its loudest 40 ms or more), measured on the original.
std::function<double(double)> contourOf(const Samples &voice)
{
    const size_t window = Rate / 25;
    double loudest = 0;
    for (size_t at = 0; at + window <= voice.size(); at += window / 2)
        loudest = std::max(loudest, level(voice, at, window));
    return [&voice, window, loudest](double t) {
        const auto centre = size_t(t * Rate);
        if (centre < window / 2 || centre + window / 2 + Rate / 80 + 2 >= voice.size())
            return 0.0;
        const size_t from = centre - window / 2;
        return level(voice, from, window) < loudest / 10 ? 0.0 : pitch(voice, from, window);
    };
}

// A voice to slow, from a WAV of one channel at Rate: empty if it is not one.
Samples readVoice(const char *path)
{
    SF_INFO info {};
    SNDFILE *file = sf_open(path, SFM_READ, &info);
    if (!file)
        return {};
    Samples s(size_t(info.frames));
    if (info.channels != 1 || info.samplerate != Rate || sf_readf_float(file, s.data(), info.frames) != info.frames)
        s.clear();
    sf_close(file);
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    // The program's own (Rubber Band R3), and SoundTouch for comparison when
    // its headers are there.
    const std::vector<std::pair<const char *, std::function<Samples(const Samples &, double)>>> ways {
        { "the program's (R3)",
            [](const Samples &in, double speed) { return TempoStretch::Stretch(in, Rate, speed); } },
#ifdef RATTIL_HAVE_SOUNDTOUCH
        { "SoundTouch", soundTouch },
#endif
    };
    const Samples sounds[] = { tone(2.0), vowel(2.0) };
    const char *names[] = { "tone 440 Hz", "vowel 140 Hz" };
    std::printf("%-26s %-13s %5s %12s %10s %8s\n", "way", "sound", "speed", "pitch_cents", "length_%", "ripple");
    for (const auto &[way, stretch] : ways) {
        for (int k = 0; k < 2; ++k) {
            const double given = pitch(sounds[k]);
            for (double speed : { 0.85, 0.70, 0.50 }) {
                const Samples out = stretch(sounds[k], speed);
                const double heard = pitch(out);
                const double cents = heard > 0 ? 1200 * std::log2(heard / given) : 9999;
                const double length = 100.0 * (double(out.size()) * speed / double(sounds[k].size()) - 1.0);
                std::printf("%-26s %-13s %4.0f%% %12.1f %10.2f %8.3f\n", way, names[k], speed * 100, cents, length,
                    ripple(out));
            }
        }
    }
    const Samples spoken = speech(4.0);
    std::printf("\n%-26s %5s %22s %18s\n", "way", "speed", "speech_pitch_off_cents", "syllables_kept");
    for (const auto &[way, stretch] : ways) {
        for (double speed : { 0.85, 0.70, 0.50 }) {
            const Samples out = stretch(spoken, speed);
            std::printf("%-26s %4.0f%% %22.1f %18.3f\n", way, speed * 100, pitchOff(out, speed, glideInSyllables),
                syllablesKept(spoken, out, speed));
        }
    }
    // Recorded voices (the demo course's examples, say), each judged against
    // its own pitch.
    for (int i = 1; i < argc; ++i) {
        const Samples voice = readVoice(argv[i]);
        if (voice.empty()) {
            std::fprintf(stderr, "%s: not a WAV of one channel at %d Hz\n", argv[i], Rate);
            return 1;
        }
        const auto contour = contourOf(voice);
        std::printf("\n%s (%.1f s)\n", argv[i], double(voice.size()) / Rate);
        for (const auto &[way, stretch] : ways) {
            for (double speed : { 0.85, 0.70, 0.50 }) {
                const Samples out = stretch(voice, speed);
                std::printf("%-26s %4.0f%% %22.1f %18.3f\n", way, speed * 100, pitchOff(out, speed, contour),
                    syllablesKept(voice, out, speed));
            }
        }
    }
    // A 10 s example: tone and vowel in turn.
    Samples example;
    for (int i = 0; i < 5; ++i) {
        const Samples &part = sounds[i % 2];
        example.insert(example.end(), part.begin(), part.end());
    }
    for (const auto &[way, stretch] : ways) {
        const auto start = std::chrono::steady_clock::now();
        const Samples out = stretch(example, 0.70);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("slow_10s_at_70_ms way=\"%s\" ms=%.0f out_s=%.2f\n", way, ms, double(out.size()) / Rate);
    }
    return 0;
}
