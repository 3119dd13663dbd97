// SPDX-License-Identifier: GPL-3.0-or-later

// HandCursor.cur: any bytes give a picture with its hot spot on it, or nothing.
#include "skin/skinfiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QPoint hotSpot(-1, -1);
    const QImage image = DecodeCursor(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &hotSpot);
    if (!image.isNull() && !image.rect().contains(hotSpot))
        std::abort();
    return 0;
}
