// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/geometry.h"

#include "base/numbers.h"

#include <QtGlobal>

QRect RoundedRect(const QRectF &r)
{
    const int left = RoundToCoordinate(r.left());
    const int top = RoundToCoordinate(r.top());
    const int right = RoundToCoordinate(r.left() + r.width());
    const int bottom = RoundToCoordinate(r.top() + r.height());
    return QRect(left, top, qMax(0, right - left), qMax(0, bottom - top));
}
