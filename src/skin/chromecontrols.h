// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class ActiveLink;
class QWidget;

// The window's own buttons in place of a title bar: exit and minimise, each a
// picture of the skin centred on its design point.
struct ChromeControls
{
    ActiveLink *ImExit = nullptr;
    ActiveLink *Immin = nullptr;
};

// The buttons close and minimise window.
ChromeControls CreateChromeControls(QWidget *window);
// imagesPath ends with a separator.
void LoadChromeSkin(const ChromeControls &c, const QString &imagesPath);
