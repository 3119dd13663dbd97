// SPDX-License-Identifier: GPL-3.0-or-later

// Lesson pages: decoding and the page view's table mirroring, then the walk the
// course checker makes over the page's pictures and links.
#include "coursechecker.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

// The HTML reader's notes on every odd colour would drown the fuzzer's own output.
static void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler(quiet);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CourseChecker::ReferencesOf(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
