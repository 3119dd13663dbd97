#include "app/coursefolders.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "app/quitsignals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    // GStreamer plays the reciters' MP3s on time; keep it even where another
    // backend is installed beside it.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
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

    RegisterFontSubstitutions();
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
