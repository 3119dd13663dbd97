// SPDX-License-Identifier: GPL-3.0-or-later

#include "ornament.h"

#include "palette.h"

#include <QPainter>
#include <QtMath>

QPainterPath Ornament::Star(QPointF centre, double r)
{
    QPainterPath path;
    for (int i = 0; i <= 8; ++i) {
        const int k = (i * 3) % 8;
        const double a = M_PI / 8 + k * M_PI / 4;
        const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    return path;
}

QPainterPath Ornament::Khatam(QPointF centre, double r)
{
    QPainterPath path;
    for (int square = 0; square < 2; ++square) {
        for (int i = 0; i <= 4; ++i) {
            const double a = square * M_PI / 4 + i * M_PI / 2;
            const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
            if (i == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
    }
    return path;
}

void Ornament::Medallion(QPainter &p, QPointF centre, double r, const QColor &disc)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Palette::GoldDark, 1.2));
    p.setBrush(disc);
    p.drawEllipse(centre, r, r);
    p.setPen(QPen(Palette::Gold, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r - 2.5, r - 2.5);
    p.setPen(QPen(Palette::GoldLight, 1.1));
    p.drawPath(Star(centre, r - 4.5));
    p.setBrush(Palette::Gold);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, r * 0.16, r * 0.16);
    p.restore();
}

void Ornament::StarBand(QPainter &p, double x1, double x2, double y, double r, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const double pitch = r * 4;
    const int count = int((x2 - x1) / pitch);
    if (count < 1) {
        p.restore();
        return;
    }
    const double start = x1 + ((x2 - x1) - (count - 1) * pitch) / 2;
    QColor thread = colour;
    thread.setAlphaF(0.55);
    p.setPen(QPen(thread, 0.8));
    p.drawLine(QPointF(start, y), QPointF(start + (count - 1) * pitch, y));
    p.setPen(QPen(colour, 1.0));
    for (int i = 0; i < count; ++i) {
        const QPointF c(start + i * pitch, y);
        p.setBrush(Palette::Frame);
        p.drawPath(Khatam(c, r));
        p.setBrush(colour);
        p.drawEllipse(c, r * 0.22, r * 0.22);
        p.setBrush(Qt::NoBrush);
    }
    p.restore();
}
