// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

// The geometric accents of the skin: eight-pointed stars of the girih
// tradition, drawn as clean outlines so they stay calm beside the text.
class Ornament final
{
public:
    // The star polygon {8/3}: eight points at radius r, each joined to the third next.
    static QPainterPath Star(QPointF centre, double r);
    // Two overlapping squares (the khatam), outline only.
    static QPainterPath Khatam(QPointF centre, double r);
    // A medallion: a disc with a gold ring and a star inside.
    static void Medallion(QPainter &p, QPointF centre, double r, const QColor &disc);
    // A row of small khatam stars joined by a thread, between x1 and x2.
    static void StarBand(QPainter &p, double x1, double x2, double y, double r, const QColor &colour);
};
