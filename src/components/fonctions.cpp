// SPDX-License-Identifier: GPL-3.0-or-later

#include "components/fonctions.h"

#include "components/numbers.h"

#include <QFileInfo>
#include <QFont>
#include <QWidget>
#include <cmath>

bool IsInteger(double value)
{
    if (!std::isfinite(value) || value < -32768.0 || value > 32767.0)
        return false;
    return value == std::trunc(value);
}

bool IsInteger(const QString &text)
{
    const auto v = ParseNumber(text);
    return v && IsInteger(*v);
}

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QString ShortPath(const QString &path)
{
    return path;
}

void SetDesignPointSize(QFont &font, double points)
{
    if (points > 0 && points < 1000)
        font.setPixelSize(qMax(1, qRound(points * 96.0 / 72.0)));
}

void ShowChildrenMadeSince(QWidget *parent, const QList<QWidget *> &before)
{
    for (QWidget *w : parent->findChildren<QWidget *>()) {
        if (!w->isWindow() && !w->testAttribute(Qt::WA_WState_ExplicitShowHide) && !before.contains(w))
            w->show();
    }
}
