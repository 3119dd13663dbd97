// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QString>

class QImage;

// Writes a Windows cursor (.cur): one 32 x 32 image as a 32-bit BGRA bitmap
// followed by its 1-bit AND mask, with the hot spot in the directory entry.
class CursorWriter final
{
public:
    static bool Write(const QImage &image, QPoint hotSpot, const QString &path);
};
