// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>

// Number conversions shared by every subsystem. Course files and layouts count in
// 16-bit integers and round halves to the even neighbour; positions, levels and
// steps must come out the same way everywhere.

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double value);

// The nearest int, halves to even; for values known to fit.
inline int RoundToInt(double value)
{
    return int(RoundHalfEven(value));
}

// A position or size of the skin's, rounded halves to even and held to
// -32768..32767; 0 for what is not a finite number.
int RoundToCoordinate(double value);

// Text that reads as a decimal number (blanks around it allowed), or nothing.
std::optional<double> ParseNumber(const QString &text);

// A whole number in -32768..32767 after rounding halves to even, or nothing when
// the text is not a number or the rounded value does not fit.
std::optional<qint16> ToInt16(const QString &text);
std::optional<qint16> ToInt16(double value);

// The same for 32-bit values. Also accepts "&H" and "0x" hexadecimal, which
// course authors use for colours.
std::optional<qint32> ToInt32(const QString &text);

// Numbers as an Arabic reader writes them: Arabic-Indic digits, the Arabic
// decimal separator and percent sign, and a true minus.
QString ArabicDigits(const QString &latin);
// A count in Arabic-Indic digits: ٣, ١٢.
QString ArabicIndic(qint64 n);
// A whole percentage: ٧٠٪.
QString ArabicPercent(qint64 n);
// Seconds with one decimal, "٢٫٥"; never below zero.
QString ArabicSeconds(double seconds);
