// Lesson pages: decoding and the page view's table mirroring, then the walk the
// course checker makes over the page's pictures and links.
#include "components/textbrowserview.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

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
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    TextBrowserView::LoadPage(&document, bytes);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                format.toImageFormat().name();
            if (format.isAnchor())
                format.anchorHref();
        }
    }
    return 0;
}
