// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/coursefolders.h"
#include "app/mainwindow.h"
#include "app/processsetup.h"
#include "app/quitsignals.h"
#include "sound/program/mediabackend.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QThreadPool>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int ShutdownGraceMs = 1500;

} // namespace

int main(int argc, char *argv[])
{
    ChooseMediaBackend();
    QApplication app(argc, argv);
    SetUpApplication();
    QApplication::setApplicationName(QStringLiteral("rattil"));
    QApplication::setApplicationVersion(QStringLiteral(RATTIL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A course on the rules of Quranic recitation."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
        QStringLiteral("A course folder to open instead of the one beside the program or the installed one."),
        QStringLiteral("[folder]"));
    parser.process(app);
    const QStringList positional = parser.positionalArguments();

    const CourseFolders folders = ChooseCourseFolders(QCoreApplication::applicationDirPath(),
        positional.isEmpty() ? QString() : positional.first(), FolderEnvironment::FromSystem());
    if (!folders.error.isEmpty()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("رتّل"), folders.error, QMessageBox::Ok);
        box.setLayoutDirection(Qt::RightToLeft);
        box.exec();
        return 2;
    }

    MainWindow window(folders.course);
    window.SetLearnerFolders(folders.data, folders.config, folders.journals);
    window.Load();
    window.show();
    // Every way out runs the window's one shutdown: a signal closes it, and a
    // quit that bypasses it (a session ending) still saves through the close.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &MainWindow::CloseNow);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, &MainWindow::CloseNow);
    const int code = app.exec();
    // The take and the layout were saved as the window closed. A worker still
    // busy with a comparison is given a moment, never an unbounded wait: a
    // program asked to end (a logout's SIGTERM) must end.
    if (!QThreadPool::globalInstance()->waitForDone(ShutdownGraceMs)) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
