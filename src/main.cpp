#include "app/fonts.h"
#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // GStreamer plays the reciters' MP3s on time; keep it even where another
    // backend is installed beside it.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setApplicationName(QStringLiteral("rattil"));
    RegisterFontSubstitutions();

    MainWindow window(QCoreApplication::applicationDirPath());
    window.Load();
    window.show();
    return app.exec();
}
