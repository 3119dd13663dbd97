// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QRectF>

// A rectangle of the skin's, in whole pixels: its edges rounded halves to even
// and held to the skin's coordinates, so that rectangles that meet stay met.
QRect RoundedRect(const QRectF &r);
