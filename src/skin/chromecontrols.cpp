// SPDX-License-Identifier: GPL-3.0-or-later

#include "skin/chromecontrols.h"

#include "skin/formdesign.h"
#include "skin/skinfiles.h"
#include "widgets/activelink.h"

#include <QWidget>

namespace {

ActiveLink *chromeButton(QWidget *window, const char *name, const QString &accessibleName)
{
    auto *button = new ActiveLink(window);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(accessibleName);
    button->setAlwayshandcursor(true);
    return button;
}

void place(ActiveLink *button, const QString &images, const QString &rest, const QString &hover, QPoint centre)
{
    SetButtonPictures(button, images, rest, hover);
    const QSize size = button->picture().isNull() ? QSize(32, 32) : button->picture().size();
    button->setGeometry(QRect(centre - QPoint(size.width() / 2, size.height() / 2), size));
}

} // namespace

ChromeControls CreateChromeControls(QWidget *window)
{
    ChromeControls c;
    c.ImExit = chromeButton(window, "ImExit", QStringLiteral("خروج"));
    QObject::connect(c.ImExit, &ActiveLink::Click, window, &QWidget::close);
    c.Immin = chromeButton(window, "Immin", QStringLiteral("تصغير"));
    QObject::connect(c.Immin, &ActiveLink::Click, window, &QWidget::showMinimized);
    return c;
}

void LoadChromeSkin(const ChromeControls &c, const QString &imagesPath)
{
    place(
        c.ImExit, imagesPath, QStringLiteral("Exit.jpg"), QStringLiteral("ExitMouseOver.jpg"), FormDesign::ExitCentre);
    place(c.Immin, imagesPath, QStringLiteral("Minimize.jpg"), QStringLiteral("MinimizeMouseOver.jpg"),
        FormDesign::MinimizeCentre);
}
