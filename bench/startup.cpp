// SPDX-License-Identifier: GPL-3.0-or-later

// Start the real window on an application folder and report when its first page is shown.
#include "app/mainwindow.h"
#include "app/processsetup.h"
#include "measure.h"
#include "pageview/documentview.h"
#include "sound/program/mediabackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char *argv[])
{
    ChooseMediaBackend();
    QApplication app(argc, argv);
    SetUpApplication();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    // The sound library from the application folder, as the program finds it beside itself.
    Platform platform;
    platform.soundFolders = { QStringLiteral(RATTIL_APP_DIR) };
    MainWindow window(folder, platform);
    // The first page is read before the window shows, so the view's first
    // frame is the page.
    new AfterFirstPaint(window.RTF->Widget(), [&] {
        ReportFirstPage("rattil");
        // What a lesson opened before the panel was made pays on its click.
        QElapsedTimer made;
        made.start();
        window.EnsurePracticeParts();
        QTextStream(stdout) << "practice_parts_ms=" << made.nsecsElapsed() / 1e6 << Qt::endl;
        app.quit();
    });
    window.Load();
    window.show();
    return app.exec();
}
