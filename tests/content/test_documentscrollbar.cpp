// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <cmath>

namespace {

// Stand-ins for the page's end in the tables: the end, and 30 pixels before it.
constexpr int End = -1;
constexpr int EndLess30 = -2;
// The scroll moved, by however much the platform scrolls for a wheel or a key.
constexpr int Moved = -3;

} // namespace

class TestDocumentScrollBar final : public QObject
{
    Q_OBJECT
private slots:
    void actions_data();
    void actions();
    void heldArrowRunsItsTimer();
    void arrowsAnswerAfterAHold_data();
    void arrowsAnswerAfterAHold();
    void zeroLengthTrack();
};

void TestDocumentScrollBar::actions_data()
{
    QTest::addColumn<bool>("longPage");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("thumb"); // "min", "max", or "follows" the page

    // Nothing to scroll: the release is then an ordinary click, to the bottom.
    QTest::newRow("short: held arrow") << false << 0 << "hold down" << 0 << "max";
    QTest::newRow("short: drag") << false << 0 << "drag 1000" << 0 << "min";
    QTest::newRow("short: down click") << false << 0 << "click down" << 0 << "max";
    QTest::newRow("ten ticks of 10") << true << 0 << "hold down" << 100 << "follows";
    QTest::newRow("held up past the top") << true << 25 << "hold up" << 0 << "min";
    QTest::newRow("up click") << true << 400 << "click up" << 0 << "min";
    QTest::newRow("drag beyond the end") << true << 0 << "drag 1000" << End << "max";
    QTest::newRow("drag above the start") << true << 300 << "drag -1000" << 0 << "min";
    QTest::newRow("track, 30 left") << true << EndLess30 << "track below" << End << "max";
    QTest::newRow("track below") << true << 0 << "track below" << 60 << "follows";
    QTest::newRow("track above, 50 done") << true << 50 << "track above" << 0 << "min";
    QTest::newRow("wheel") << true << 0 << "wheel" << Moved << "follows";
    QTest::newRow("page down key") << true << 0 << "key" << Moved << "follows";
}

void TestDocumentScrollBar::actions()
{
    QFETCH(bool, longPage);
    QFETCH(int, start);
    QFETCH(QString, action);
    QFETCH(int, top);
    QFETCH(QString, thumb);

    PageFixture f;
    f.settings.PageStep = 60;
    write(f.htmlDir() + "page.htm", longPage ? LongPage() : LongPage(2));
    QVERIFY(f.show(f.htmlDir() + "page.htm"));
    DocumentScrollBar &bar = *f.scrollBar;
    const int range = f.scrollRange();
    QCOMPARE(range > 0, longPage);
    const auto place = [&](int v) { return v == End ? range : v == EndLess30 ? range - 30 : v; };
    f.RTF->SetScrollTop(place(start));
    QCOMPARE(f.RTF->ScrollTop(), place(start));

    if (action == "hold down" || action == "hold up") {
        QTest::mousePress(action == "hold up" ? f.bar.ScrollUp : f.bar.ScrollDown, Qt::LeftButton);
        for (int i = 0; i < 10; ++i)
            bar.TimerScrollTick();
        QTest::mouseRelease(action == "hold up" ? f.bar.ScrollUp : f.bar.ScrollDown, Qt::LeftButton);
    } else if (action.startsWith("click")) {
        QTest::mouseClick(action == "click up" ? f.bar.ScrollUp : f.bar.ScrollDown, Qt::LeftButton);
    } else if (action.startsWith("drag")) {
        QTest::mousePress(f.bar.scrollpos, Qt::LeftButton);
        QCOMPARE(bar.ThumbDragging, longPage);
        QCOMPARE(f.bar.scrollpos->pixmap().toImage().pixelColor(5, 5).green() > 200, true);
        bar.ThumbMouseMove(action.mid(5).toInt());
        QTest::mouseRelease(f.bar.scrollpos, Qt::LeftButton);
        QCOMPARE(f.bar.scrollpos->pixmap().toImage().pixelColor(5, 5).red() > 200, true);
        QVERIFY(!bar.ThumbDragging);
    } else if (action.startsWith("track")) {
        const int y = action == "track below" ? f.bar.ScrollLine->height() - 2 : 0;
        QTest::mouseMove(f.bar.ScrollLine, QPoint(1, y));
        QTest::mouseClick(f.bar.ScrollLine, Qt::LeftButton, {}, QPoint(1, y));
    } else if (action == "wheel") {
        QWidget *viewport = static_cast<QTextBrowser *>(f.RTF->Widget())->viewport();
        QWheelEvent wheel(QPointF(100, 100), viewport->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, -120),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    } else if (action == "key") {
        f.RTF->Widget()->setFocus();
        QTest::keyClick(f.RTF->Widget(), Qt::Key_PageDown);
    }

    const int now = f.RTF->ScrollTop();
    if (top == Moved)
        QVERIFY2(now > 0, qPrintable(QString::number(now)));
    else
        QCOMPARE(now, place(top));
    const int expected = thumb == "min" ? bar.ThumbMin
        : thumb == "max"                ? bar.ThumbMax
                         : int(std::lround((bar.ThumbMax - bar.ThumbMin) * double(now) / range + bar.ThumbMin));
    QCOMPARE(f.thumb(), expected);
    QVERIFY(bar.ScrollFraction >= 0 && bar.ScrollFraction <= 1);
}

void TestDocumentScrollBar::heldArrowRunsItsTimer()
{
    PageFixture f;
    write(f.htmlDir() + "page.htm", LongPage());
    QVERIFY(f.show(f.htmlDir() + "page.htm"));
    QVERIFY(!f.bar.TimerScroll->isActive());
    QTest::mousePress(f.bar.ScrollDown, Qt::LeftButton);
    QCOMPARE(f.scrollBar->ScrollDirection, QStringLiteral("DOWN"));
    QCOMPARE(f.bar.TimerScroll->interval(), 100);
    QTRY_VERIFY(f.RTF->ScrollTop() >= 20);
    QTest::mouseRelease(f.bar.ScrollDown, Qt::LeftButton);
    QVERIFY(!f.bar.TimerScroll->isActive());
    // The release's click keeps the place the hold scrolled to.
    QVERIFY(f.RTF->ScrollTop() < f.scrollRange());

    // At the end there is nothing left to do: the timer stops by itself.
    f.RTF->SetScrollTop(f.scrollRange());
    f.scrollBar->ArrowPressed(QStringLiteral("DOWN"));
    f.scrollBar->TimerScrollTick();
    QVERIFY(!f.bar.TimerScroll->isActive());
}

// A hold's count of ticks outlived its release, so every later press of an
// arrow that came without a mouse press (a key, a screen reader) was taken for
// the click that ends a hold and did nothing.
void TestDocumentScrollBar::arrowsAnswerAfterAHold_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<bool>("releasedOver"); // the pointer still on the arrow at the release
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<int>("top");

    QTest::newRow("hold down, then up") << "down" << true << "up" << 0;
    QTest::newRow("hold down, then down") << "down" << true << "down" << End;
    QTest::newRow("hold up, then down") << "up" << true << "down" << End;
    QTest::newRow("hold up, then up") << "up" << true << "up" << 0;
    QTest::newRow("released off the arrow, then down") << "down" << false << "down" << End;
    QTest::newRow("released off the arrow, then up") << "down" << false << "up" << 0;
}

void TestDocumentScrollBar::arrowsAnswerAfterAHold()
{
    QFETCH(QString, held);
    QFETCH(bool, releasedOver);
    QFETCH(QString, pressed);
    QFETCH(int, top);

    PageFixture f;
    write(f.htmlDir() + "page.htm", LongPage());
    QVERIFY(f.show(f.htmlDir() + "page.htm"));
    const int range = f.scrollRange();
    QVERIFY(range > 200);
    f.RTF->SetScrollTop(100);
    ActiveLink *arrow = held == "up" ? f.bar.ScrollUp : f.bar.ScrollDown;
    QTest::mousePress(arrow, Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        f.scrollBar->TimerScrollTick();
    const int afterHold = f.RTF->ScrollTop();
    QCOMPARE(afterHold, held == "up" ? 70 : 130);
    QTest::mouseRelease(arrow, Qt::LeftButton, {}, releasedOver ? QPoint(2, 2) : QPoint(-30, -30));
    // The release's own click keeps the place the hold scrolled to.
    QCOMPARE(f.RTF->ScrollTop(), afterHold);

    (pressed == "up" ? f.bar.ScrollUp : f.bar.ScrollDown)->press();
    QCOMPARE(f.RTF->ScrollTop(), top == End ? range : top);
    QCOMPARE(f.thumb(), int(top == End ? f.scrollBar->ThumbMax : f.scrollBar->ThumbMin));
}

void TestDocumentScrollBar::zeroLengthTrack()
{
    PageFixture f;
    write(f.htmlDir() + "page.htm", LongPage());
    QVERIFY(f.show(f.htmlDir() + "page.htm"));
    // A pane exactly as tall as the two arrows and the thumb leaves no travel.
    f.RTFP->resize(f.RTFP->width(), 18 + 36 + 18);
    f.scrollBar->LayoutScrollBar();
    QCOMPARE(f.scrollBar->ThumbMax, f.scrollBar->ThumbMin);
    QCOMPARE(f.scrollBar->ScrollFraction, 0.0);
    f.scrollBar->TrackMouseMove(10);
    f.scrollBar->TrackClick();
    QCOMPARE(f.scrollBar->ScrollFraction, 0.0);
    f.scrollBar->ThumbMouseDown();
    f.scrollBar->ThumbMouseMove(50);
    QCOMPARE(f.scrollBar->ScrollFraction, 0.0);
    QCOMPARE(f.thumb(), int(f.scrollBar->ThumbMin));
}

QTEST_MAIN(TestDocumentScrollBar)
#include "test_documentscrollbar.moc"
