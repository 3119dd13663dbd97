// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QRegion>
#include <QtGlobal>

#include <optional>
#include <vector>

class QScreen;
class QWidget;

// Outlines of the borderless windows, written as the course's designers drew them:
// an ordered list of rectangles, ellipses and rounded rectangles in design pixels
// (one design pixel is 15 twips), each added to or cut from what came before.
//
// Pixel conventions are those of classic platform regions, so the outline matches
// the skin pictures pixel for pixel: a box (x1, y1)-(x2, y2) covers x1 <= x < x2
// and y1 <= y < y2; an ellipse is inscribed in its box; a rounded rectangle's
// corners are quarter ellipses of the given corner width and height. A pixel
// belongs to a curved shape when its centre lies on or inside the curve.

enum class ShapeKind { Rectangle, Ellipse, RoundRectangle };
enum class ShapeOperation { Copy, Union, Difference };

struct ShapeRecord
{
    ShapeKind kind;
    int x1, y1, x2, y2;
    int cornerWidth = 0, cornerHeight = 0;
    ShapeOperation operation;
};

// The main window's outline, client area 786 x 632.
const std::vector<ShapeRecord> &MainWindowShapes();
// The message dialog's outline, client area 235 x 149 (the size of its card).
const std::vector<ShapeRecord> &MsgFormShapes();

// One design value in device pixels: value x scale x 15 / twips + offset, rounded
// halves to even. Nothing when twips is 0 or the result leaves the int range.
std::optional<int> DesignToDevice(int value, float scale, qint16 offset, int twipsPerPixel);

// The region of one shape in device pixels, already converted.
QRegion ShapeRegion(ShapeKind kind, int x1, int y1, int x2, int y2, int cornerWidth = 0, int cornerHeight = 0);

// Builds an outline from its shape list. An impossible conversion (twips of 0, a
// value out of range) gives an empty region, which callers take to mean "leave
// the window rectangular".
QRegion BuildOutline(const std::vector<ShapeRecord> &shapes, float hScale, float vScale, qint16 hOffset, qint16 vOffset,
    int twipsX = 15, int twipsY = 15);

// The same outline as a smooth path in design pixels, for painting skin pictures
// with antialiased edges along it. BuildOutline keeps the pixels whose centres lie
// inside this path, so a picture painted to it fits the window's cut.
QPainterPath OutlinePath(const std::vector<ShapeRecord> &shapes);

// Twips per pixel of a screen from its dots per inch: round(1440 / dpi), halves to
// even, 15 (the standard screen) when the DPI is unknown, zero or absurd.
int ScreenTwipsPerPixel(qreal dotsPerInch);
// The same for the screen a widget is on, in the widget's own (logical) pixels,
// which are the pixels its mask is given in.
int ScreenTwipsPerPixel(const QScreen *screen);

// Cuts a top-level widget to its outline. On X11 a frameless top-level's mask
// becomes the window's Shape bounding region, so nothing outside is drawn and
// presses there reach whatever lies behind. An empty outline leaves the window
// rectangular.
void ApplyOutline(QWidget *window, const QRegion &outline);
