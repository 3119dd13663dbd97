#include "app/processsetup.h"

#include "app/fonts.h"

#include <QApplication>

void ChooseMediaBackend()
{
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

void SetUpApplication()
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    RegisterFontSubstitutions();
}
