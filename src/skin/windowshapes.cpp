// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowshapes.h"

#include "base/numbers.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A pixel centre exactly on a curve counts as inside; the tolerance keeps that
// true when the square root lands a hair short.
constexpr double kOnCurve = 1e-9;

} // namespace

const std::vector<ShapeRecord> &MainWindowShapes()
{
    using K = ShapeKind;
    using O = ShapeOperation;
    // The order matters: a difference cuts only what the steps before it added,
    // and later unions may add area back.
    static const std::vector<ShapeRecord> shapes = {
        { K::RoundRectangle, 0, 45, 755, 598, 40, 36, O::Copy }, // the body
        { K::RoundRectangle, 78, 540, 411, 629, 90, 80, O::Union }, // lower button bay
        { K::Rectangle, 32, 565, 151, 610, 0, 0, O::Union },
        { K::Ellipse, -68, 593, 90, 646, 0, 0, O::Difference },
        { K::Rectangle, 329, 560, 452, 609, 0, 0, O::Union },
        { K::Ellipse, 396, 597, 535, 641, 0, 0, O::Difference },
        { K::Ellipse, 567, -1, 648, 80, 0, 0, O::Union }, // round top buttons
        { K::Ellipse, 703, -1, 784, 80, 0, 0, O::Union },
        { K::Rectangle, 607, -2, 746, 53, 0, 0, O::Union },
        { K::RoundRectangle, -1, 17, 74, 97, 44, 46, O::Union }, // top-left corner piece
        { K::Rectangle, 717, 43, 772, 110, 0, 0, O::Union },
        { K::Ellipse, 754, 63, 807, 154, 0, 0, O::Difference },
        { K::Rectangle, 531, 26, 588, 56, 0, 0, O::Union },
        { K::Rectangle, 557, 29, 565, 36, 0, 0, O::Union },
        { K::Ellipse, 482, 1, 570, 46, 0, 0, O::Difference },
        { K::Rectangle, 47, 31, 89, 82, 0, 0, O::Union },
        { K::Ellipse, 71, 13, 122, 46, 0, 0, O::Difference },
    };
    return shapes;
}

const std::vector<ShapeRecord> &MsgFormShapes()
{
    using K = ShapeKind;
    using O = ShapeOperation;
    // The large rounding gives the card its top-left and bottom-right corners; the
    // two small ones fill the other two corners back in.
    static const std::vector<ShapeRecord> shapes = {
        { K::RoundRectangle, -1, 0, 235, 149, 110, 106, O::Copy },
        { K::RoundRectangle, 132, -4, 235, 71, 50, 22, O::Union },
        { K::RoundRectangle, -1, 74, 81, 149, 26, 20, O::Union },
    };
    return shapes;
}

std::optional<int> DesignToDevice(int value, float scale, qint16 offset, int twipsPerPixel)
{
    if (twipsPerPixel <= 0)
        return std::nullopt;
    const double v = double(value) * double(scale) * 15.0 / double(twipsPerPixel) + double(offset);
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = RoundHalfEven(v);
    if (r < double(std::numeric_limits<int>::min()) || r > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(r);
}

QRegion ShapeRegion(ShapeKind kind, int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    const qint64 width = qint64(x2) - x1;
    const qint64 height = qint64(y2) - y1;
    if (width <= 0 || height <= 0)
        return QRegion();
    // Beyond this a region is no outline of a window, and QRect would overflow.
    if (width > 1 << 20 || height > 1 << 20)
        return QRegion();

    double cw = 0;
    double ch = 0;
    switch (kind) {
    case ShapeKind::Rectangle: return QRegion(x1, y1, int(width), int(height));
    case ShapeKind::Ellipse:
        cw = double(width);
        ch = double(height);
        break;
    case ShapeKind::RoundRectangle:
        cw = std::clamp<double>(cornerWidth, 0, double(width));
        ch = std::clamp<double>(cornerHeight, 0, double(height));
        break;
    }
    if (cw <= 0 || ch <= 0)
        return QRegion(x1, y1, int(width), int(height));

    const double rx = cw / 2;
    const double ry = ch / 2;
    // One span per row; rows with the same span are merged into one band, so the
    // list is already in the banded order QRegion keeps.
    QList<QRect> bands;
    for (int y = y1; y < y2; ++y) {
        const double py = y + 0.5;
        double dy = 0;
        if (py < y1 + ry)
            dy = y1 + ry - py;
        else if (py > y2 - ry)
            dy = py - (y2 - ry);
        double inset = 0;
        if (dy > 0) {
            const double t = dy / ry;
            inset = rx * (1 - std::sqrt(std::max(0.0, 1 - t * t)));
        }
        const int left = int(std::ceil(x1 + inset - 0.5 - kOnCurve));
        const int right = int(std::floor(x2 - inset - 0.5 + kOnCurve)); // inclusive
        if (left > right)
            continue;
        if (!bands.isEmpty()) {
            QRect &last = bands.last();
            if (last.left() == left && last.right() == right && last.bottom() == y - 1) {
                last.setBottom(y);
                continue;
            }
        }
        bands.append(QRect(left, y, right - left + 1, 1));
    }
    QRegion region;
    region.setRects(bands.constData(), int(bands.size()));
    return region;
}

QRegion BuildOutline(const std::vector<ShapeRecord> &shapes, float hScale, float vScale, qint16 hOffset, qint16 vOffset,
    int twipsX, int twipsY)
{
    QRegion outline;
    for (const ShapeRecord &s : shapes) {
        const auto x1 = DesignToDevice(s.x1, hScale, hOffset, twipsX);
        const auto y1 = DesignToDevice(s.y1, vScale, vOffset, twipsY);
        const auto x2 = DesignToDevice(s.x2, hScale, hOffset, twipsX);
        const auto y2 = DesignToDevice(s.y2, vScale, vOffset, twipsY);
        const auto cw = DesignToDevice(s.cornerWidth, hScale, 0, twipsX);
        const auto ch = DesignToDevice(s.cornerHeight, vScale, 0, twipsY);
        if (!x1 || !y1 || !x2 || !y2 || !cw || !ch)
            return QRegion();
        const QRegion shape = ShapeRegion(s.kind, *x1, *y1, *x2, *y2, *cw, *ch);
        switch (s.operation) {
        case ShapeOperation::Copy: outline = shape; break;
        case ShapeOperation::Union: outline = outline.united(shape); break;
        case ShapeOperation::Difference: outline = outline.subtracted(shape); break;
        }
    }
    return outline;
}

QPainterPath OutlinePath(const std::vector<ShapeRecord> &shapes)
{
    QPainterPath outline;
    for (const ShapeRecord &s : shapes) {
        const QRectF box = QRectF(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2)).normalized();
        QPainterPath shape;
        switch (s.kind) {
        case ShapeKind::Rectangle: shape.addRect(box); break;
        case ShapeKind::Ellipse: shape.addEllipse(box); break;
        case ShapeKind::RoundRectangle:
            shape.addRoundedRect(box, std::clamp<double>(s.cornerWidth, 0, box.width()) / 2,
                std::clamp<double>(s.cornerHeight, 0, box.height()) / 2);
            break;
        }
        switch (s.operation) {
        case ShapeOperation::Copy: outline = shape; break;
        case ShapeOperation::Union: outline = outline.united(shape); break;
        case ShapeOperation::Difference: outline = outline.subtracted(shape); break;
        }
    }
    return outline;
}

int ScreenTwipsPerPixel(qreal dotsPerInch)
{
    if (!std::isfinite(dotsPerInch) || dotsPerInch <= 0)
        return 15;
    const double twips = RoundHalfEven(1440.0 / dotsPerInch);
    // Under one twip per pixel (over 2880 dpi) no screen exists; a 0 would only
    // make every outline fail.
    if (twips < 1 || twips > 32767)
        return 15;
    return int(twips);
}

int ScreenTwipsPerPixel(const QScreen *screen)
{
    if (!screen)
        return 15;
    // The logical DPI is per device-independent pixel, the unit of widget geometry
    // and masks, so a scaled desktop still gets the outline at its design size.
    return ScreenTwipsPerPixel(screen->logicalDotsPerInch());
}

void ApplyOutline(QWidget *window, const QRegion &outline)
{
    if (!window)
        return;
    if (outline.isEmpty())
        window->clearMask();
    else
        window->setMask(outline);
}
