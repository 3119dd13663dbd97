// SPDX-License-Identifier: GPL-3.0-or-later

#include "cursorwriter.h"

#include <QImage>
#include <QSaveFile>

namespace {

void PutU16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void PutU32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

bool CursorWriter::Write(const QImage &source, QPoint hotSpot, const QString &path)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    if (image.width() != 32 || image.height() != 32)
        return false;
    const int size = 32;
    const quint32 xorBytes = size * size * 4;
    const quint32 andBytes = size * 4; // one bit a pixel, rows padded to 32 bits
    const quint32 imageBytes = 40 + xorBytes + andBytes;

    QByteArray out;
    PutU16(out, 0); // reserved
    PutU16(out, 2); // cursor
    PutU16(out, 1); // one image
    out.append(char(size));
    out.append(char(size));
    out.append(char(0)); // no palette
    out.append(char(0));
    PutU16(out, quint16(hotSpot.x()));
    PutU16(out, quint16(hotSpot.y()));
    PutU32(out, imageBytes);
    PutU32(out, 6 + 16); // the image follows the directory

    PutU32(out, 40); // BITMAPINFOHEADER
    PutU32(out, size); // width
    PutU32(out, size * 2); // height of the colour bitmap and the mask together
    PutU16(out, 1); // planes
    PutU16(out, 32); // bits per pixel
    PutU32(out, 0); // uncompressed
    PutU32(out, xorBytes + andBytes);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);

    // Bitmaps are stored bottom row first.
    for (int y = size - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            const QRgb p = row[x];
            const int a = qAlpha(p);
            // BGRA, not premultiplied
            out.append(char(qBlue(p)));
            out.append(char(qGreen(p)));
            out.append(char(qRed(p)));
            out.append(char(a));
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        quint32 bits = 0;
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) < 128)
                bits |= 1u << (31 - x); // 1: the screen shows through
        }
        // most significant bit first, byte by byte
        out.append(char((bits >> 24) & 0xFF));
        out.append(char((bits >> 16) & 0xFF));
        out.append(char((bits >> 8) & 0xFF));
        out.append(char(bits & 0xFF));
    }

    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}
