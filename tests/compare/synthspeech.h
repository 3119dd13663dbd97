// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/monosound.h"

#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <cmath>
#include <sndfile.h>
#include <vector>

// Speech-like test sounds built from parts whose lengths the test chooses: voiced
// parts with their own pitch and formants, hissing parts, pauses. Deterministic.
struct SynthPart final
{
    enum Kind { Vowel, Hiss, Pause };
    Kind kind = Pause;
    double seconds = 0;
    double pitch = 0; // Hz, vowels
    double formant1 = 0;
    double formant2 = 0;
};

inline SynthPart vowel(double seconds, double pitch, double f1, double f2)
{
    return { SynthPart::Vowel, seconds, pitch, f1, f2 };
}
inline SynthPart hiss(double seconds)
{
    return { SynthPart::Hiss, seconds, 0, 0, 0 };
}
inline SynthPart pause(double seconds)
{
    return { SynthPart::Pause, seconds, 0, 0, 0 };
}

// The same word every time: a test stretches one part by giving it another length.
inline std::vector<SynthPart> syntheticWord(double stretchVowel = 1.0, int which = 2, double pace = 1.0)
{
    std::vector<SynthPart> parts = {
        vowel(0.18, 120, 700, 1200),
        hiss(0.12),
        vowel(0.30, 130, 300, 2300),
        pause(0.08),
        vowel(0.22, 125, 500, 900),
        hiss(0.10),
        vowel(0.25, 115, 650, 1700),
        vowel(0.20, 110, 350, 800),
    };
    for (SynthPart &part : parts)
        part.seconds *= pace;
    parts[size_t(which)].seconds *= stretchVowel;
    return parts;
}

// Start of part n in seconds, after `lead` seconds of silence.
inline double partStart(const std::vector<SynthPart> &parts, int n, double lead = 0)
{
    double t = lead;
    for (int i = 0; i < n; ++i)
        t += parts[size_t(i)].seconds;
    return t;
}

inline MonoSound synthesize(
    const std::vector<SynthPart> &parts, int rate, double lead = 0, double tail = 0, float background = 0.0f)
{
    MonoSound sound;
    sound.rate = rate;
    QRandomGenerator random(7);
    auto noise = [&] { return float(random.generateDouble() * 2.0 - 1.0); };
    auto silence = [&](double seconds) {
        for (int i = 0; i < int(seconds * rate); ++i)
            sound.samples.push_back(background * noise());
    };
    silence(lead);
    double phase = 0;
    for (const SynthPart &part : parts) {
        const int count = int(part.seconds * rate);
        const int ramp = std::min(count / 2, rate / 100); // 10 ms fades, as a voice starts and stops
        float previous = 0;
        for (int i = 0; i < count; ++i) {
            const float gain = std::min({ 1.0f, float(i) / std::max(1, ramp), float(count - i) / std::max(1, ramp) });
            float s = background * noise();
            if (part.kind == SynthPart::Vowel) {
                phase += 2.0 * M_PI * part.pitch / rate;
                double v = 0;
                for (int h = 1; h * part.pitch < rate / 2.2; ++h) {
                    const double f = h * part.pitch;
                    const double a1 = 1.0 / (1.0 + std::pow((f - part.formant1) / 80.0, 2));
                    const double a2 = 0.6 / (1.0 + std::pow((f - part.formant2) / 120.0, 2));
                    v += (a1 + a2 + 0.02) * std::sin(h * phase);
                }
                s += float(0.25 * v) * gain;
            } else if (part.kind == SynthPart::Hiss) {
                const float white = noise();
                s += 0.15f * (white - previous) * gain; // tilted towards the highs, like "s"
                previous = white;
            }
            sound.samples.push_back(s);
        }
    }
    silence(tail);
    return sound;
}

// Writes a sound as the recorder writes a take: 8-bit unsigned, mono.
inline bool writeTakeFile(const QString &path, const MonoSound &sound)
{
    SF_INFO info = {};
    info.samplerate = sound.rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t written = sf_writef_float(file, sound.samples.data(), sf_count_t(sound.samples.size()));
    sf_close(file);
    return written == sf_count_t(sound.samples.size());
}
