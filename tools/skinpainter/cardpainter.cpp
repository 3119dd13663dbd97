// SPDX-License-Identifier: GPL-3.0-or-later

#include "cardpainter.h"

#include "ornament.h"
#include "palette.h"

#include <QFont>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace {

// Lays the verse out in at most two lines at the largest size that fits the
// text box; returns the chosen pixel size.
int FittingSize(const QString &verse, const QRectF &box, QFont &font)
{
    for (int px = 24; px >= 10; --px) {
        font.setPixelSize(px);
        QTextLayout layout(verse, font);
        QTextOption option(Qt::AlignCenter);
        option.setTextDirection(Qt::RightToLeft);
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        double height = 0;
        int lines = 0;
        bool fits = true;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            height += line.height();
            if (line.naturalTextWidth() > box.width())
                fits = false;
            ++lines;
        }
        layout.endLayout();
        if (fits && lines <= 2 && height <= box.height() + px * 0.25)
            return px;
    }
    return font.pixelSize();
}

} // namespace

QImage CardPainter::Paint(const QString &verse)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Palette::Parchment);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setPen(QPen(Palette::Gold, 1.4));
    p.setBrush(Palette::ParchmentLight);
    p.drawRoundedRect(QRectF(1.5, 1.5, Width - 3, Height - 3), 8, 8);
    p.setPen(QPen(Palette::ParchmentDeep.darker(106), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4.5, 4.5, Width - 9, Height - 9), 6, 6);
    p.setPen(QPen(Palette::Gold, 1));
    for (double x : { 14.0, Width - 14.0 })
        p.drawPath(Ornament::Khatam(QPointF(x, Height / 2.0), 5));

    const QRectF textBox(26, 5, Width - 52, Height - 10);
    QFont font(QStringLiteral("Amiri Quran"));
    font.setHintingPreference(QFont::PreferNoHinting);
    FittingSize(verse, textBox, font);
    p.setFont(font);
    p.setPen(Palette::Ink);
    p.setLayoutDirection(Qt::RightToLeft);
    QTextOption option(Qt::AlignCenter);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(QTextOption::WordWrap);
    p.drawText(textBox, verse, option);
    p.end();
    return image;
}
