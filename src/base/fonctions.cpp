// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/fonctions.h"

#include "base/numbers.h"

#include <QFileInfo>
#include <QFont>
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
