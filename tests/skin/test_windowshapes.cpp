// SPDX-License-Identifier: GPL-3.0-or-later

#include "skin/windowshapes.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

qint64 area(const QRegion &region)
{
    qint64 total = 0;
    for (const QRect &r : region)
        total += qint64(r.width()) * r.height();
    return total;
}

QRegion mirrored(const QRegion &region, int x1, int x2)
{
    QRegion out;
    for (const QRect &r : region)
        out += QRect(x1 + x2 - 1 - r.right(), r.top(), r.width(), r.height());
    return out;
}

} // namespace

class TestWindowShapes final : public QObject
{
    Q_OBJECT

private slots:
    void outlinePoints_data();
    void outlinePoints();
    void dialogTopRightCutOnlyBySmallRounding();
    void tableValuesUnchangedAtStandardDpi();
    void outlineExtents();
    void designToDevice_data();
    void designToDevice();
    void scaledOutlineFollowsTheDesign();
    void impossibleConversionGivesEmptyOutline();
    void shapePixels_data();
    void shapePixels();
    void curvedShapes();
    void smoothPathMatchesPixels();
    void twipsFromDpi_data();
    void twipsFromDpi();
};

void TestWindowShapes::outlinePoints_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("inside");

    // A difference that comes after a union still cuts.
    QTest::newRow("main: step 3 rect cut by step 4 ellipse") << false << QPoint(40, 605) << false;
    QTest::newRow("main: step 11 rect cut by step 12 ellipse") << false << QPoint(765, 100) << false;
    QTest::newRow("main: step 11 rect outside the cut") << false << QPoint(730, 100) << true;
    QTest::newRow("main: top-left pixel") << false << QPoint(0, 0) << false;
    QTest::newRow("main: body") << false << QPoint(400, 300) << true;
    QTest::newRow("main: body right edge") << false << QPoint(754, 300) << true;
    QTest::newRow("main: body right edge, exclusive") << false << QPoint(755, 300) << false;
    QTest::newRow("main: body bottom edge") << false << QPoint(600, 597) << true;
    QTest::newRow("main: body bottom edge, exclusive") << false << QPoint(600, 598) << false;
    QTest::newRow("main: lower bay below the body") << false << QPoint(100, 620) << true;
    QTest::newRow("main: round top button") << false << QPoint(600, 10) << true;
    QTest::newRow("main: between the top buttons") << false << QPoint(675, 1) << true;
    QTest::newRow("main: notch of step 15") << false << QPoint(526, 40) << false;
    QTest::newRow("main: notch of step 17") << false << QPoint(96, 40) << false;
    QTest::newRow("main: right of the window") << false << QPoint(785, 300) << false;

    QTest::newRow("dialog: centre") << true << QPoint(117, 74) << true;
    QTest::newRow("dialog: top-left big rounding") << true << QPoint(2, 2) << false;
    QTest::newRow("dialog: bottom-right big rounding") << true << QPoint(230, 145) << false;
    QTest::newRow("dialog: top-right small rounding, inside") << true << QPoint(225, 5) << true;
    QTest::newRow("dialog: top-right corner pixel") << true << QPoint(234, 0) << false;
    QTest::newRow("dialog: bottom-left small rounding, inside") << true << QPoint(10, 148) << true;
    QTest::newRow("dialog: bottom-left corner pixel") << true << QPoint(0, 148) << false;
    QTest::newRow("dialog: right edge") << true << QPoint(234, 74) << true;
    QTest::newRow("dialog: right edge, exclusive") << true << QPoint(235, 74) << false;
    QTest::newRow("dialog: bottom edge, exclusive") << true << QPoint(117, 149) << false;
}

void TestWindowShapes::outlinePoints()
{
    QFETCH(bool, dialog);
    QFETCH(QPoint, point);
    QFETCH(bool, inside);
    const QRegion outline = BuildOutline(dialog ? MsgFormShapes() : MainWindowShapes(), 1, 1, 0, 0);
    QCOMPARE(outline.contains(point), inside);
}

void TestWindowShapes::dialogTopRightCutOnlyBySmallRounding()
{
    const ShapeRecord &body = MsgFormShapes().front();
    const QRegion big = ShapeRegion(body.kind, body.x1, body.y1, body.x2, body.y2, body.cornerWidth, body.cornerHeight);
    const QRegion outline = BuildOutline(MsgFormShapes(), 1, 1, 0, 0);
    // The large rounding cuts about 55 x 53 x (1 - pi/4) pixels from this corner,
    // the small one only 25 x 11 x (1 - pi/4): nearly all must come back.
    int filledBack = 0;
    for (int y = 0; y < 53; ++y) {
        for (int x = 180; x < 235; ++x) {
            const QPoint p(x, y);
            if (big.contains(p))
                QVERIFY(outline.contains(p));
            else if (outline.contains(p))
                ++filledBack;
        }
    }
    QVERIFY2(filledBack > 500, qPrintable(QString::number(filledBack)));
    QVERIFY(!big.contains(QPoint(225, 5)));
    QVERIFY(outline.contains(QPoint(225, 5)));
}

void TestWindowShapes::tableValuesUnchangedAtStandardDpi()
{
    for (const auto *table : { &MainWindowShapes(), &MsgFormShapes() }) {
        for (const ShapeRecord &s : *table) {
            for (int v : { s.x1, s.y1, s.x2, s.y2, s.cornerWidth, s.cornerHeight })
                QCOMPARE(DesignToDevice(v, 1.0f, 0, 15), std::optional<int>(v));
        }
    }
}

void TestWindowShapes::outlineExtents()
{
    // What lies outside the client area only has to exist; the window clips it.
    const QRegion main = BuildOutline(MainWindowShapes(), 1, 1, 0, 0);
    QCOMPARE(main.boundingRect(), QRect(QPoint(-1, -2), QPoint(783, 628)));
    const QRegion dialog = BuildOutline(MsgFormShapes(), 1, 1, 0, 0);
    QCOMPARE(dialog.boundingRect(), QRect(QPoint(-1, -4), QPoint(234, 148)));
    QCOMPARE(dialog.intersected(QRect(0, 0, 235, 149)).boundingRect(), QRect(0, 0, 235, 149));
}

void TestWindowShapes::designToDevice_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<float>("scale");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("expected");

    QTest::newRow("standard") << 755 << 1.0f << 0 << 15 << 755;
    QTest::newRow("12 twips 45 -> 56.25") << 45 << 1.0f << 0 << 12 << 56;
    QTest::newRow("12 twips 110 -> 137.5, half to even") << 110 << 1.0f << 0 << 12 << 138;
    QTest::newRow("12 twips 2 -> 2.5, half to even") << 2 << 1.0f << 0 << 12 << 2;
    QTest::newRow("12 twips 6 -> 7.5, half to even") << 6 << 1.0f << 0 << 12 << 8;
    QTest::newRow("12 twips -68 -> -85") << -68 << 1.0f << 0 << 12 << -85;
    QTest::newRow("12 twips -2 -> -2.5, half to even") << -2 << 1.0f << 0 << 12 << -2;
    QTest::newRow("20 twips 45 -> 33.75") << 45 << 1.0f << 0 << 20 << 34;
    QTest::newRow("scale 2") << 100 << 2.0f << 0 << 15 << 200;
    QTest::newRow("scale 0.5, 1.5 -> 2") << 3 << 0.5f << 0 << 15 << 2;
    QTest::newRow("scale 0.5, 0.5 -> 0") << 1 << 0.5f << 0 << 15 << 0;
    QTest::newRow("offset added after scaling") << 45 << 1.0f << -5 << 12 << 51;
    QTest::newRow("negative offset") << 10 << 1.0f << -30 << 15 << -20;
}

void TestWindowShapes::designToDevice()
{
    QFETCH(int, value);
    QFETCH(float, scale);
    QFETCH(int, offset);
    QFETCH(int, twips);
    QFETCH(int, expected);
    QCOMPARE(DesignToDevice(value, scale, qint16(offset), twips), std::optional<int>(expected));
}

void TestWindowShapes::scaledOutlineFollowsTheDesign()
{
    const QRegion outline = BuildOutline(MainWindowShapes(), 1, 1, 0, 0, 12, 12);
    QVERIFY(outline.contains(QPoint(912, 125))); // (730, 100) x 1.25
    QVERIFY(!outline.contains(QPoint(50, 756))); // (40, 605) x 1.25
    QVERIFY(!outline.contains(QPoint(956, 125))); // (765, 100) x 1.25
    QCOMPARE(outline.boundingRect().right(), 979); // 784 x 1.25 = 980, exclusive

    const QRegion moved = BuildOutline(MsgFormShapes(), 1, 1, 100, 50);
    QCOMPARE(moved, BuildOutline(MsgFormShapes(), 1, 1, 0, 0).translated(100, 50));
}

void TestWindowShapes::impossibleConversionGivesEmptyOutline()
{
    QVERIFY(BuildOutline(MainWindowShapes(), 1, 1, 0, 0, 0, 15).isEmpty());
    QVERIFY(BuildOutline(MsgFormShapes(), 1, 1, 0, 0, 15, 0).isEmpty());
    QVERIFY(BuildOutline(MsgFormShapes(), std::numeric_limits<float>::infinity(), 1, 0, 0).isEmpty());
    QVERIFY(BuildOutline(MsgFormShapes(), 1e30f, 1, 0, 0).isEmpty());
    QCOMPARE(DesignToDevice(10, 1.0f, 0, 0), std::nullopt);
    QCOMPARE(DesignToDevice(std::numeric_limits<int>::max(), 2.0f, 0, 15), std::nullopt);
}

void TestWindowShapes::shapePixels_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRect>("box"); // x1, y1 as topLeft; width, height as x2 - x1, y2 - y1
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("inside");

    const int rect = int(ShapeKind::Rectangle);
    const int ellipse = int(ShapeKind::Ellipse);
    QTest::newRow("rect: top-left pixel") << rect << QRect(0, 0, 10, 5) << QPoint(0, 0) << true;
    QTest::newRow("rect: last pixel") << rect << QRect(0, 0, 10, 5) << QPoint(9, 4) << true;
    QTest::newRow("rect: right edge exclusive") << rect << QRect(0, 0, 10, 5) << QPoint(10, 4) << false;
    QTest::newRow("rect: bottom edge exclusive") << rect << QRect(0, 0, 10, 5) << QPoint(9, 5) << false;
    QTest::newRow("ellipse: box corner") << ellipse << QRect(0, 0, 10, 10) << QPoint(0, 0) << false;
    QTest::newRow("ellipse: touches top") << ellipse << QRect(0, 0, 10, 10) << QPoint(5, 0) << true;
    QTest::newRow("ellipse: touches left") << ellipse << QRect(0, 0, 10, 10) << QPoint(0, 5) << true;
    QTest::newRow("ellipse: touches right") << ellipse << QRect(0, 0, 10, 10) << QPoint(9, 4) << true;
    QTest::newRow("ellipse: right edge exclusive") << ellipse << QRect(0, 0, 10, 10) << QPoint(10, 5) << false;
    QTest::newRow("ellipse: touches bottom") << ellipse << QRect(0, 0, 10, 10) << QPoint(4, 9) << true;
    QTest::newRow("ellipse: bottom edge exclusive") << ellipse << QRect(0, 0, 10, 10) << QPoint(5, 10) << false;
    QTest::newRow("ellipse: near corner, outside") << ellipse << QRect(0, 0, 10, 10) << QPoint(0, 1) << false;
    QTest::newRow("ellipse: negative box") << ellipse << QRect(-20, -10, 10, 10) << QPoint(-15, -5) << true;
}

void TestWindowShapes::shapePixels()
{
    QFETCH(int, kind);
    QFETCH(QRect, box);
    QFETCH(QPoint, point);
    QFETCH(bool, inside);
    const QRegion r
        = ShapeRegion(ShapeKind(kind), box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    QCOMPARE(r.contains(point), inside);
}

void TestWindowShapes::curvedShapes()
{
    // An inscribed ellipse touches all four sides of its box and no more.
    const QRegion ellipse = ShapeRegion(ShapeKind::Ellipse, 3, 7, 203, 107);
    QCOMPARE(ellipse.boundingRect(), QRect(3, 7, 200, 100));
    QVERIFY(std::abs(area(ellipse) - M_PI * 100 * 50) < 0.01 * M_PI * 100 * 50);
    QCOMPARE(mirrored(ellipse, 3, 203), ellipse);

    // A corner ellipse as large as the box is the ellipse; no corner is the box.
    QCOMPARE(ShapeRegion(ShapeKind::RoundRectangle, 3, 7, 203, 107, 200, 100), ellipse);
    QCOMPARE(ShapeRegion(ShapeKind::RoundRectangle, 3, 7, 203, 107, 400, 300), ellipse);
    QCOMPARE(ShapeRegion(ShapeKind::RoundRectangle, 0, 0, 20, 10, 0, 0), QRegion(0, 0, 20, 10));
    QCOMPARE(ShapeRegion(ShapeKind::RoundRectangle, 0, 0, 20, 10, -4, 6), QRegion(0, 0, 20, 10));

    // A rounded rectangle is the box less four corners, each a quarter of its corner ellipse.
    const QRegion rounded = ShapeRegion(ShapeKind::RoundRectangle, 0, 0, 100, 60, 40, 30);
    const QRegion corner = ShapeRegion(ShapeKind::Ellipse, 0, 0, 40, 30);
    QCOMPARE(rounded.intersected(QRect(0, 0, 20, 15)), corner.intersected(QRect(0, 0, 20, 15)));
    QCOMPARE(mirrored(rounded, 0, 100), rounded);
    const qint64 cut = 4 * (20 * 15) - area(corner);
    QCOMPARE(area(rounded), qint64(100 * 60) - cut);

    // Boxes given the wrong way round are normalised; empty boxes are empty.
    QCOMPARE(ShapeRegion(ShapeKind::Ellipse, 203, 107, 3, 7), ellipse);
    QVERIFY(ShapeRegion(ShapeKind::Rectangle, 5, 5, 5, 50).isEmpty());
    QVERIFY(ShapeRegion(ShapeKind::Ellipse, 5, 5, 50, 5).isEmpty());
}

void TestWindowShapes::smoothPathMatchesPixels()
{
    // The skin painter draws along the path; the windows are cut by the region.
    // Only pixels whose centres sit on the curve itself may disagree.
    for (const auto *table : { &MainWindowShapes(), &MsgFormShapes() }) {
        const QRegion region = BuildOutline(*table, 1, 1, 0, 0);
        const QPainterPath path = OutlinePath(*table);
        const QRect box = region.boundingRect();
        int checked = 0;
        int mismatched = 0;
        for (int y = box.top(); y <= box.bottom(); y += 2) {
            for (int x = box.left(); x <= box.right(); x += 2) {
                ++checked;
                if (path.contains(QPointF(x + 0.5, y + 0.5)) != region.contains(QPoint(x, y)))
                    ++mismatched;
            }
        }
        QVERIFY2(mismatched <= checked / 2000, qPrintable(QStringLiteral("%1 of %2").arg(mismatched).arg(checked)));
    }
}

void TestWindowShapes::twipsFromDpi_data()
{
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<int>("twips");
    QTest::newRow("96") << qreal(96) << 15;
    QTest::newRow("120") << qreal(120) << 12;
    QTest::newRow("144") << qreal(144) << 10;
    QTest::newRow("72") << qreal(72) << 20;
    QTest::newRow("100 -> 14.4") << qreal(100) << 14;
    QTest::newRow("unknown") << qreal(0) << 15;
    QTest::newRow("negative") << qreal(-96) << 15;
    QTest::newRow("nan") << qreal(std::nan("")) << 15;
    QTest::newRow("beyond any screen") << qreal(1e6) << 15;
}

void TestWindowShapes::twipsFromDpi()
{
    QFETCH(qreal, dpi);
    QFETCH(int, twips);
    QCOMPARE(ScreenTwipsPerPixel(dpi), twips);
}

QTEST_GUILESS_MAIN(TestWindowShapes)
#include "test_windowshapes.moc"
