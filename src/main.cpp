#include "app/coursefolders.h"
#include "app/mainwindow.h"
#include "app/processsetup.h"
#include "app/quitsignals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

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
    window.SetLearnerFolders(folders.data, folders.config);
    window.Load();
    window.show();
    // Every way out runs the window's one shutdown: a signal closes it, and a
    // quit that bypasses it (a session ending) still saves through the close.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &QWidget::close);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, &QWidget::close);
    return app.exec();
}
