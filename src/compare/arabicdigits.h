// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Numbers as an Arabic reader writes them: Arabic-Indic digits, the Arabic
// decimal separator and percent sign.
QString ArabicDigits(const QString &latin);
// Seconds with one decimal, "٢٫٥".
QString ArabicSeconds(double seconds);
