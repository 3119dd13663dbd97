// SPDX-License-Identifier: GPL-3.0-or-later

// config.ini: any bytes give settings, never a crash or a hang.
#include "app/config.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    Settings settings;
    ReadConfig(buffer, settings);
    buffer.seek(0);
    ConfigValues(buffer);
    return 0;
}
