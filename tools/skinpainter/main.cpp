// SPDX-License-Identifier: GPL-3.0-or-later

// Skin painter: draws the demo course's skin and its example cards. Runs
// offscreen during the build; the same input always gives the same pictures.
#include "cardpainter.h"
#include "gifwriter.h"
#include "ornament.h"
#include "palette.h"
#include "skinpainter.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QTextStream>

namespace {

int Fail(const QString &message)
{
    QTextStream(stderr) << "skinpainter: " << message << Qt::endl;
    return 1;
}

// card VERSES REF OUT: the verse of REF (sura:aya) from verses.tsv as a .jpg
// or .gif card, by OUT's extension.
int Card(const QStringList &a)
{
    QFile file(a[0]);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(a[0] + QStringLiteral(": ") + file.errorString());
    QString verse;
    const QString prefix = a[1] + QLatin1Char('\t');
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix))
            verse = line.section(QLatin1Char('\t'), 2).trimmed(); // reference, sura, text
    }
    if (verse.isEmpty())
        return Fail(QStringLiteral("no verse %1 in %2").arg(a[1], a[0]));
    const QImage card = CardPainter::Paint(verse);
    const QString out = a[2];
    bool ok = false;
    if (out.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) {
        // Ink on parchment with gold: ramps between those colours are all the
        // card needs.
        QVector<QRgb> palette;
        const QColor ends[][2] = { { Palette::ParchmentLight, Palette::Ink },
            { Palette::ParchmentLight, Palette::Gold }, { Palette::Parchment, Palette::Ink },
            { Palette::Gold, Palette::Ink }, { Palette::ParchmentLight, Palette::ParchmentDeep.darker(106) },
            { Palette::Parchment, Palette::Gold } };
        for (const auto &pair : ends) {
            for (int s = 0; s <= 40; ++s) {
                const double t = s / 40.0;
                palette << qRgb(qRound(pair[0].red() + (pair[1].red() - pair[0].red()) * t),
                    qRound(pair[0].green() + (pair[1].green() - pair[0].green()) * t),
                    qRound(pair[0].blue() + (pair[1].blue() - pair[0].blue()) * t));
            }
        }
        palette.resize(256);
        ok = GifWriter::Write(card, palette, out);
    } else {
        ok = card.save(out, "JPEG", 92);
    }
    return ok ? 0 : Fail(out + QStringLiteral(": could not be written"));
}

// icon SIZE OUT.png: the program's icon for the desktop's menus, a medallion of
// the skin's own, with the first letter of the program's name in gold.
int Icon(const QStringList &a)
{
    bool ok = false;
    const int size = a[0].toInt(&ok);
    if (!ok || size < 16 || size > 1024)
        return Fail(QStringLiteral("icon size must be 16..1024: ") + a[0]);
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    Ornament::Medallion(p, centre, size * 0.47, Palette::Frame);
    // A quiet field in the star's middle, so the letter reads at 16 pixels too.
    p.setPen(QPen(Palette::Gold, qMax(1.0, size / 64.0)));
    p.setBrush(Palette::FrameDark);
    p.drawEllipse(centre, size * 0.27, size * 0.27);
    QFont font(QStringLiteral("Amiri"));
    font.setBold(true);
    font.setPixelSize(qMax(8, int(size * 0.42)));
    p.setFont(font);
    p.setPen(Palette::GoldLight);
    p.drawText(QRectF(0, -size * 0.04, size, size), Qt::AlignCenter, QStringLiteral("ر"));
    p.end();
    return icon.save(a[1], "PNG") ? 0 : Fail(a[1] + QStringLiteral(": could not be written"));
}

} // namespace

int main(int argc, char *argv[])
{
    // Painting needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("skin") && args.size() == 1) {
        SkinPainter painter(args[0]);
        if (!painter.PaintAll())
            return Fail(QStringLiteral("could not write ") + painter.Errors().join(QStringLiteral(", ")));
        return 0;
    }
    if (command == QLatin1String("card") && args.size() == 3)
        return Card(args);
    if (command == QLatin1String("icon") && args.size() == 2)
        return Icon(args);
    return Fail(QStringLiteral("usage: skinpainter skin OUTDIR\n"
                               "       skinpainter card VERSES REF OUT.jpg|OUT.gif\n"
                               "       skinpainter icon SIZE OUT.png"));
}
