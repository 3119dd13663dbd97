// SPDX-License-Identifier: GPL-3.0-or-later

#include "gifwriter.h"

#include <QImage>
#include <QSaveFile>
#include <QVector>

#include <vector>

namespace {

// Packs variable-width LZW codes into the 255-byte sub-blocks of a GIF.
class CodeStream
{
public:
    explicit CodeStream(QByteArray &out)
        : m_out(out)
    {
    }

    void Put(quint32 code, int bits)
    {
        m_bits |= code << m_count;
        m_count += bits;
        while (m_count >= 8) {
            PutByte(quint8(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }

    void Finish()
    {
        if (m_count > 0)
            PutByte(quint8(m_bits & 0xFF));
        m_bits = 0;
        m_count = 0;
        FlushBlock();
        m_out.append(char(0)); // block terminator
    }

private:
    void PutByte(quint8 b)
    {
        m_block.append(char(b));
        if (m_block.size() == 255)
            FlushBlock();
    }
    void FlushBlock()
    {
        if (m_block.isEmpty())
            return;
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }

    QByteArray &m_out;
    QByteArray m_block;
    quint32 m_bits = 0;
    int m_count = 0;
};

void PutWord(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

} // namespace

bool GifWriter::Write(const QImage &image, const QVector<QRgb> &palette, const QString &path)
{
    if (image.isNull() || palette.isEmpty() || palette.size() > 256)
        return false;
    QVector<QRgb> table = palette;
    table.resize(256, qRgb(0, 0, 0));
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither | Qt::AvoidDither);
    const int w = indexed.width();
    const int h = indexed.height();

    QByteArray out("GIF89a");
    PutWord(out, w);
    PutWord(out, h);
    out.append(char(0xF7)); // global colour table of 256 entries
    out.append(char(0)); // background colour index
    out.append(char(0)); // square pixels
    const QVector<QRgb> used = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < used.size() ? used[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2C)); // image descriptor
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, w);
    PutWord(out, h);
    out.append(char(0)); // no local table, not interlaced

    const int minCodeSize = 8;
    const quint32 clearCode = 1u << minCodeSize;
    out.append(char(minCodeSize));
    CodeStream codes(out);

    // Dictionary as a trie: next[code * 256 + byte] = longer code, 0 = none.
    std::vector<quint16> next(4096 * 256, 0);
    int codeSize = minCodeSize + 1;
    quint32 maxCode = clearCode + 1;
    codes.Put(clearCode, codeSize);
    int current = -1;
    for (int y = 0; y < h; ++y) {
        const uchar *row = indexed.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const quint8 value = row[x];
            if (current < 0) {
                current = value;
                continue;
            }
            const quint16 longer = next[size_t(current) * 256 + value];
            if (longer) {
                current = longer;
                continue;
            }
            codes.Put(quint32(current), codeSize);
            next[size_t(current) * 256 + value] = quint16(++maxCode);
            // The decoder learns each code one step later, so the width grows
            // once the newest code no longer fits.
            if (maxCode >= (1u << codeSize))
                ++codeSize;
            if (maxCode == 4095) {
                codes.Put(clearCode, codeSize);
                std::fill(next.begin(), next.end(), 0);
                codeSize = minCodeSize + 1;
                maxCode = clearCode + 1;
            }
            current = value;
        }
    }
    if (current >= 0)
        codes.Put(quint32(current), codeSize);
    codes.Put(clearCode, codeSize);
    codes.Put(clearCode + 1, minCodeSize + 1);
    codes.Finish();
    out.append(char(0x3B));

    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}
