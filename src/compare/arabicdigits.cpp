// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/arabicdigits.h"

#include <algorithm>
#include <cmath>

QString ArabicDigits(const QString &latin)
{
    QString out = latin;
    for (QChar &c : out) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(0x0660 + (c.unicode() - '0'));
        else if (c == QLatin1Char('.'))
            c = QChar(0x066B);
        else if (c == QLatin1Char('%'))
            c = QChar(0x066A);
        else if (c == QLatin1Char('-'))
            c = QChar(0x2212);
    }
    return out;
}

QString ArabicSeconds(double seconds)
{
    // Tenths are what the ear can tell apart on a short example.
    const double tenths = std::round(std::max(0.0, seconds) * 10.0) / 10.0;
    return ArabicDigits(QString::number(tenths, 'f', 1));
}
