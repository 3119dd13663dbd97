// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

double RoundHalfEven(double value)
{
    return std::nearbyint(value); // the default floating-point mode rounds halves to even
}

int RoundToCoordinate(double value)
{
    const double r = RoundHalfEven(value);
    return std::isfinite(r) ? int(qBound(-32768.0, r, 32767.0)) : 0;
}

std::optional<double> ParseNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok); // C locale: '.' is the decimal point
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint16> ToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = RoundHalfEven(value);
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(r);
}

std::optional<qint16> ToInt16(const QString &text)
{
    const auto v = ParseNumber(text);
    if (!v)
        return std::nullopt;
    return ToInt16(*v);
}

std::optional<qint32> ToInt32(const QString &text)
{
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)
        || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        QString digits = t.mid(2);
        if (digits.endsWith(QLatin1Char('&')))
            digits.chop(1);
        bool ok = false;
        const qulonglong v = digits.toULongLong(&ok, 16);
        if (!ok || digits.isEmpty() || v > 0xFFFFFFFFull)
            return std::nullopt;
        return static_cast<qint32>(static_cast<quint32>(v));
    }
    const auto v = ParseNumber(t);
    if (!v)
        return std::nullopt;
    const double r = RoundHalfEven(*v);
    if (r < double(std::numeric_limits<qint32>::min()) || r > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(r);
}

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

QString ArabicIndic(qint64 n)
{
    return ArabicDigits(QString::number(n));
}

QString ArabicPercent(qint64 n)
{
    return ArabicIndic(n) + QChar(0x066A);
}

QString ArabicSeconds(double seconds)
{
    // Tenths are what the ear can tell apart on a short example.
    const double tenths = std::round(std::max(0.0, seconds) * 10.0) / 10.0;
    return ArabicDigits(QString::number(tenths, 'f', 1));
}
