// SPDX-License-Identifier: GPL-3.0-or-later

#include "finding.h"

QString Finding::Line() const
{
    QString out = path;
    if (line > 0)
        out += QLatin1Char(':') + QString::number(line);
    out += severity == Error ? QStringLiteral(": error: ") : QStringLiteral(": warning: ");
    return out + message;
}
