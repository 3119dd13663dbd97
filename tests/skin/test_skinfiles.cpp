// SPDX-License-Identifier: GPL-3.0-or-later

#include "skin/skinfiles.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

// The skin's pictures decode on a worker while the window is built; each load
// must get its own file's picture, wait for no other, and never hang on one
// the worker could not read.
class TestSkinFiles : public QObject
{
    Q_OBJECT

private slots:
    void loadsAfterPrefetch_data();
    void loadsAfterPrefetch();
};

namespace {

QImage solid(const QColor &colour)
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Qt writes no GIF: a one-pixel picture of that colour, by hand.
bool saveGif(const QString &path, const QColor &colour)
{
    static const char header[] = "GIF89a\x01\0\x01\0\x80\0\0";
    // The palette's second colour, the one-pixel image, its data, the trailer.
    static const char rest[] = "\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;";
    QByteArray gif(header, sizeof header - 1);
    gif += char(colour.red());
    gif += char(colour.green());
    gif += char(colour.blue());
    gif.append(rest, sizeof rest - 1);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(gif) == gif.size();
}

} // namespace

void TestSkinFiles::loadsAfterPrefetch_data()
{
    QTest::addColumn<QString>("onDisk");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("found");
    // A picture on the first page, one of the examples panel's (the recorder strip's),
    // a GIF, a name the lists do not hold, a listed file that is missing, and
    // a file whose name differs from the list's only in case.
    QTest::newRow("first page") << "main.jpg"
                                << "main.jpg" << true;
    QTest::newRow("examples panel") << "Play.jpg"
                                    << "Play.jpg" << true;
    QTest::newRow("gif") << "back.gif"
                         << "back.gif" << true;
    QTest::newRow("not listed") << "extra.jpg"
                                << "extra.jpg" << true;
    QTest::newRow("missing") << QString() << "Exit.jpg" << false;
    QTest::newRow("case differs") << "TITLE.JPG"
                                  << "Title.jpg" << true;
}

void TestSkinFiles::loadsAfterPrefetch()
{
    QFETCH(QString, onDisk);
    QFETCH(QString, asked);
    QFETCH(bool, found);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    // Other pictures around it, each its own colour, so that a mix-up shows.
    const QStringList others = { "Exit.jpg", "Minimize.jpg", "Rec.jpg", "vm1.jpg", "Title.jpg" };
    int shade = 0;
    for (const QString &name : others) {
        if (name != asked && name.compare(onDisk, Qt::CaseInsensitive) != 0)
            QVERIFY(solid(QColor(40 * ++shade, 0, 0)).save(folder + name));
    }
    const QColor colour(20, 200, 90);
    if (onDisk.endsWith(QLatin1String(".gif")))
        QVERIFY(saveGif(folder + onDisk, colour));
    else if (!onDisk.isEmpty())
        QVERIFY(solid(colour).save(folder + onDisk));

    // As the window asks: the first page's pictures, then the others after it.
    PrefetchSkinPictures(folder);
    PrefetchSkinPictures(folder, SkinPictures::HiddenAtStart);
    for (int load = 0; load < 2; ++load) {
        // The second load of a file reads it again.
        const QImage image = LoadSkinPicture(folder, asked).toImage();
        QCOMPARE(!image.isNull(), found);
        if (found) {
            const QColor seen = image.pixelColor(image.width() / 2, image.height() / 2);
            QVERIFY2(
                qAbs(seen.red() - colour.red()) + qAbs(seen.green() - colour.green()) < 40, qPrintable(seen.name()));
        }
    }
}

QTEST_MAIN(TestSkinFiles)
#include "test_skinfiles.moc"
