// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/takecomparison.h"
#include "sound/api/monosound.h"

#include <QString>

// The comparison of a take with its reciter read from their files, waiting for
// them to be read: for the tools, benches and tests, on a thread of their own.
// In the sound library, which reads the files; the window does the same through
// SoundModule without waiting (CompareController).
namespace TakeFiles {

// The reciter's MP3 and the learner's WAV, read and compared.
TakeComparison CompareFiles(const QString &referencePath, const QString &takePath);
// The reciter already decoded (at SpeechFeatures::Rate), the learner's WAV read here.
TakeComparison CompareWithTake(const MonoSound &reference, const QString &takePath);

} // namespace TakeFiles
