// SPDX-License-Identifier: GPL-3.0-or-later

// savedoptions.ini: any bytes give a position; a written position reads back.
#include "app/config.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    Settings settings;
    LoadOptions(buffer, settings);

    QBuffer written;
    written.setData(FormatOptions(settings.SplitterTop));
    written.open(QIODevice::ReadOnly);
    Settings again;
    LoadOptions(written, again);
    if (again.SplitterTop != settings.SplitterTop)
        std::abort();
    return 0;
}
