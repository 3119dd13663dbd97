// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/showchildren.h"

#include <QWidget>

void ShowChildrenMadeSince(QWidget *parent, const QList<QWidget *> &before)
{
    for (QWidget *w : parent->findChildren<QWidget *>()) {
        if (!w->isWindow() && !w->testAttribute(Qt::WA_WState_ExplicitShowHide) && !before.contains(w))
            w->show();
    }
}
