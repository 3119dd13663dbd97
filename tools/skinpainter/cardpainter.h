// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

// The picture of an example: its verse in a Quranic-style typeface on a
// parchment card, sized for the space beside the recorder strip.
class CardPainter final
{
public:
    static constexpr int Width = 316;
    static constexpr int Height = 64;

    static QImage Paint(const QString &verse);
};
