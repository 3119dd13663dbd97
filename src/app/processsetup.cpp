#include "app/processsetup.h"

#include "app/fonts.h"

#include <QApplication>

void SetUpApplication()
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    RegisterFontSubstitutions();
}
