// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/colors.h"

QColor ColorFromBgr(qint32 bgr)
{
    const auto v = static_cast<quint32>(bgr);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 BgrFromColor(const QColor &color)
{
    return qint32(quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16));
}
