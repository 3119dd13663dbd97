// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <vector>

// Slows a recitation down with its pitch kept, by Rubber Band's finer engine:
// a voice's pitch and its syllables' onsets stay where they belong at 50 %,
// and a pure tone keeps its frequency.
namespace TempoStretch {

// Mono samples in -1..1 at rate; speed 1 returns them as they are, 0.5 twice as long.
std::vector<float> Stretch(const std::vector<float> &samples, int rate, double speed);

// A 16-bit mono WAV file in memory, for a player that plays from a buffer:
// its samples begin at WaveHeader.
QByteArray Wave(const std::vector<float> &samples, int rate);
constexpr qsizetype WaveHeader = 44;
// The rate of a wave Wave made; 0 for anything else.
int RateOfWave(const QByteArray &wave);

} // namespace TempoStretch
