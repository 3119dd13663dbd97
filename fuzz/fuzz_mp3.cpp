// SPDX-License-Identifier: GPL-3.0-or-later

// Example sounds: the tags and duration the examples panel reads before playing.
#include "sound/api/soundinfo.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SoundInfo info = ReadSoundInfo(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (info.readable && !(info.duration > 0 && std::isfinite(info.duration)))
        std::abort();
    return 0;
}
