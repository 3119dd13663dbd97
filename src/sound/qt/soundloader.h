// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/monosound.h"

#include <QString>
#include <optional>

// Reads the two sides of a comparison into mono samples at one rate. Both calls
// block until the file is read, so they belong on a worker thread. In the sound
// library: the window reads through SoundModule.
class SoundLoader final
{
public:
    // Any file the multimedia backend can decode (the reciter's MP3).
    static std::optional<MonoSound> DecodeCompressed(const QString &path, int rate, QString *error = nullptr);
    // A WAV (or other libsndfile format) such as the learner's take.
    static std::optional<MonoSound> ReadWave(const QString &path, int rate, QString *error = nullptr);
};
