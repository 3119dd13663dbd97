// SPDX-License-Identifier: GPL-3.0-or-later

// contents.ini: any bytes load, and every lookup the window makes stays in bounds.
#include "content/catalogue.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Catalogue catalogue;
    catalogue.LoadFromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const int chapters = catalogue.ChapterCount();
    for (int c = -1; c <= chapters + 1; ++c) {
        catalogue.ChapterTitle(c);
        const int lessons = catalogue.LessonCount(c);
        for (int l = -1; l <= lessons + 1; ++l) {
            catalogue.LessonTitle(c, l);
            catalogue.IsIndexLesson(c, l);
            const int entries = catalogue.EntryCount(c, l);
            for (int k = -1; k <= entries + 1; ++k) {
                catalogue.EntryTitle(c, l, k);
                catalogue.PageExamples(c, l, k);
            }
        }
    }
    return 0;
}
