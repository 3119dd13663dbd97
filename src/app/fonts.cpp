// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts.h"

#include <QFont>
#include <QStringList>

void RegisterFontSubstitutions()
{
    const QStringList naskh = { QStringLiteral("Amiri"), QStringLiteral("Noto Naskh Arabic") };
    const QStringList sans = { QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans") };
    for (const char *name : { "Traditional Arabic", "Simplified Arabic", "Arabic Typesetting", "Hesham AlSharq",
             "Al-Mothnna", "Times", "Times New Roman" })
        QFont::insertSubstitutions(QString::fromLatin1(name), naskh);
    for (const char *name : { "Tahoma", "Arial", "MS Sans Serif" })
        QFont::insertSubstitutions(QString::fromLatin1(name), sans);
}
