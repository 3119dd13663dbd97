// SPDX-License-Identifier: GPL-3.0-or-later

#include "glyphs.h"

#include <QPainterPathStroker>
#include <QTransform>

namespace {

QPainterPath Stroked(const QPainterPath &line, double weight)
{
    QPainterPathStroker stroker;
    stroker.setWidth(weight);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).simplified();
}

} // namespace

QPainterPath Glyphs::Cross(const QRectF &b, double weight)
{
    QPainterPath line;
    line.moveTo(b.topLeft());
    line.lineTo(b.bottomRight());
    line.moveTo(b.topRight());
    line.lineTo(b.bottomLeft());
    return Stroked(line, weight);
}

QPainterPath Glyphs::Dash(const QRectF &b, double weight)
{
    QPainterPath line;
    line.moveTo(b.left(), b.bottom());
    line.lineTo(b.right(), b.bottom());
    return Stroked(line, weight);
}

QPainterPath Glyphs::Play(const QRectF &b)
{
    QPainterPath path;
    // optically centred: a triangle's mass sits left of its box centre
    const double shift = b.width() * 0.08;
    path.moveTo(b.left() + shift, b.top());
    path.lineTo(b.right() + shift, b.center().y());
    path.lineTo(b.left() + shift, b.bottom());
    path.closeSubpath();
    return path;
}

QPainterPath Glyphs::Pause(const QRectF &b)
{
    QPainterPath path;
    const double w = b.width() * 0.34;
    path.addRoundedRect(QRectF(b.left(), b.top(), w, b.height()), 1.2, 1.2);
    path.addRoundedRect(QRectF(b.right() - w, b.top(), w, b.height()), 1.2, 1.2);
    return path;
}

QPainterPath Glyphs::Stop(const QRectF &b)
{
    QPainterPath path;
    path.addRoundedRect(b, b.width() * 0.12, b.width() * 0.12);
    return path;
}

QPainterPath Glyphs::Dot(const QRectF &b)
{
    QPainterPath path;
    path.addEllipse(b);
    return path;
}

QPainterPath Glyphs::Speaker(const QRectF &b)
{
    QPainterPath path;
    const double w = b.width();
    const double h = b.height();
    path.moveTo(b.left(), b.top() + h * 0.33);
    path.lineTo(b.left() + w * 0.32, b.top() + h * 0.33);
    path.lineTo(b.left() + w * 0.72, b.top());
    path.lineTo(b.left() + w * 0.72, b.bottom());
    path.lineTo(b.left() + w * 0.32, b.top() + h * 0.67);
    path.lineTo(b.left(), b.top() + h * 0.67);
    path.closeSubpath();
    return path;
}

QPainterPath Glyphs::SoundWaves(const QRectF &b, double weight)
{
    QPainterPath arcs;
    const QPointF c(b.left(), b.center().y());
    for (double r : { b.width() * 0.45, b.width() * 0.95 }) {
        const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
        arcs.arcMoveTo(box, 40);
        arcs.arcTo(box, 40, -80);
    }
    return Stroked(arcs, weight);
}

QPainterPath Glyphs::Microphone(const QRectF &b, double weight)
{
    const double w = b.width();
    const double h = b.height();
    QPainterPath head;
    const QRectF capsule(b.left() + w * 0.3, b.top(), w * 0.4, h * 0.6);
    head.addRoundedRect(capsule, w * 0.2, w * 0.2);
    QPainterPath stand;
    const QRectF cup(b.left() + w * 0.12, b.top() + h * 0.05, w * 0.76, h * 0.68);
    stand.arcMoveTo(cup, 200);
    stand.arcTo(cup, 200, 140);
    stand.moveTo(b.center().x(), b.top() + h * 0.74);
    stand.lineTo(b.center().x(), b.bottom() - weight / 2);
    stand.moveTo(b.left() + w * 0.3, b.bottom() - weight / 2);
    stand.lineTo(b.right() - w * 0.3, b.bottom() - weight / 2);
    return head.united(Stroked(stand, weight));
}

QPainterPath Glyphs::Headphones(const QRectF &b, double weight)
{
    const double w = b.width();
    const double h = b.height();
    QPainterPath band;
    const QRectF arc(b.left() + weight / 2, b.top() + weight / 2, w - weight, h * 1.1);
    band.arcMoveTo(arc, 180);
    band.arcTo(arc, 180, -180);
    QPainterPath path = Stroked(band, weight);
    QPainterPath cups;
    cups.addRoundedRect(QRectF(b.left(), b.top() + h * 0.5, w * 0.26, h * 0.5), 2, 2);
    cups.addRoundedRect(QRectF(b.right() - w * 0.26, b.top() + h * 0.5, w * 0.26, h * 0.5), 2, 2);
    QPainterPath clip;
    clip.addRect(QRectF(b.left() - 1, b.top() - 1, w + 2, h * 0.62));
    return path.intersected(clip).united(cups);
}

QPainterPath Glyphs::Chevron(const QRectF &b, bool up, double weight)
{
    QPainterPath line;
    const double yTip = up ? b.top() : b.bottom();
    const double yEnds = up ? b.bottom() : b.top();
    line.moveTo(b.left(), yEnds);
    line.lineTo(b.center().x(), yTip);
    line.lineTo(b.right(), yEnds);
    return Stroked(line, weight);
}

QPainterPath Glyphs::Triangle(const QRectF &b, bool up)
{
    QPainterPath path;
    if (up) {
        path.moveTo(b.center().x(), b.top());
        path.lineTo(b.right(), b.bottom());
        path.lineTo(b.left(), b.bottom());
    } else {
        path.moveTo(b.left(), b.top());
        path.lineTo(b.right(), b.top());
        path.lineTo(b.center().x(), b.bottom());
    }
    path.closeSubpath();
    return path;
}

QPainterPath Glyphs::Check(const QRectF &b, double weight)
{
    QPainterPath line;
    line.moveTo(b.left(), b.top() + b.height() * 0.55);
    line.lineTo(b.left() + b.width() * 0.38, b.bottom());
    line.lineTo(b.right(), b.top());
    return Stroked(line, weight);
}

QPainterPath Glyphs::Hand()
{
    // A pointing hand in a 32 x 32 cell; the tip of the index finger is at (12, 1).
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9.5, 0.5, 6, 17), 3, 3); // index finger
    QPainterPath part;
    part.addRoundedRect(QRectF(15, 9.5, 5, 11), 2.5, 2.5); // middle finger
    hand = hand.united(part);
    part = QPainterPath();
    part.addRoundedRect(QRectF(19.5, 11, 5, 10), 2.5, 2.5); // ring finger
    hand = hand.united(part);
    part = QPainterPath();
    part.addRoundedRect(QRectF(24, 13, 4.5, 9), 2.2, 2.2); // little finger
    hand = hand.united(part);
    part = QPainterPath();
    part.addRoundedRect(QRectF(9.5, 15, 19, 14), 4, 4); // palm
    hand = hand.united(part);
    part = QPainterPath();
    part.addRoundedRect(QRectF(-3, -2.5, 11, 5), 2.5, 2.5); // thumb, turned inwards
    part = QTransform().translate(8.5, 19).rotate(50).map(part);
    hand = hand.united(part);
    return hand.simplified();
}
