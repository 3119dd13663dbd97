// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRgb>
#include <QString>
#include <QVector>

class QImage;

// Writes a GIF89a file: Qt reads GIF but cannot write it, and the course needs
// GIF pictures (the index frame's background and some example cards).
class GifWriter final
{
public:
    // The image is reduced to the given palette (at most 256 colours, nearest
    // colour, no dithering, so the output is the same on every run).
    static bool Write(const QImage &image, const QVector<QRgb> &palette, const QString &path);
};
