// SPDX-License-Identifier: GPL-3.0-or-later

// The least a Qt program must do to show the same page: a QTextBrowser and the file.
#include "measure.h"
#include "pageview/textbrowserview.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QTextBrowser browser;
    browser.resize(505, 480);
    QFile file(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (file.open(QIODevice::ReadOnly))
        browser.setHtml(TextBrowserView::DecodePage(file.readAll()));
    new AfterFirstPaint(&browser, [&] {
        ReportFirstPage("floor");
        app.quit();
    });
    browser.show();
    return app.exec();
}
