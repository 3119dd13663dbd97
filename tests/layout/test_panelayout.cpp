// SPDX-License-Identifier: GPL-3.0-or-later

#include "../content/pagefixture.h"

#include <QFrame>
#include <QtTest>

#include <cmath>

namespace {

// The test skin's bar is 30 high, so the bar reaches 33 down and shuts at 575 - 33.
constexpr int Closed = 542;
constexpr int LowestPaneTop = 63 + 10;
// The pane keeps room for its scroll bar: two arrows of 18 and the thumb of 36.
constexpr int HighestBar = LowestPaneTop + 18 + 36 + 18;

} // namespace

class TestPaneLayout final : public QObject
{
    Q_OBJECT
private slots:
    void slide_data();
    void slide();
    void pressAndReleaseLaysOutAgain();
    void splitterDrag_data();
    void splitterDrag();
};

void TestPaneLayout::slide_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<int>("top");

    QTest::newRow("open to 450 by 3") << Closed << "V-" << Closed - 450 << 3 << 1.0 << 450;
    QTest::newRow("open, 91 by 4") << Closed << "V-" << 91 << 4 << 0.0 << Closed - 91;
    QTest::newRow("open by 0") << Closed << "V-" << 0 << 3 << 0.5 << Closed;
    QTest::newRow("shut from 450") << 450 << "V+" << Closed - 450 << 3 << 1.0 << Closed;
    QTest::newRow("shut, step 0") << 450 << "V+" << Closed - 450 << 0 << 0.0 << Closed;
    QTest::newRow("shut, step -5") << 400 << "V+" << Closed - 400 << -5 << 0.25 << Closed;
    QTest::newRow("other direction") << 450 << "H+" << 30 << 3 << 0.5 << 450;
}

void TestPaneLayout::slide()
{
    QFETCH(int, start);
    QFETCH(QString, direction);
    QFETCH(int, distance);
    QFETCH(int, step);
    QFETCH(double, fraction);
    QFETCH(int, top);

    PageFixture f;
    QCOMPARE(f.layout->PanelClosedTop(), qint16(Closed));
    QCOMPARE(f.pane.FrameBar->y(), Closed);
    if (start != Closed)
        f.layout->SlidePanelBar("V-", Closed - start, 3);
    f.layout->RecomputeScrollTrack();
    f.scrollBar->ScrollFraction = fraction;
    f.scrollBar->PlaceThumbAtFraction();
    const int H0 = f.RTFP->height();
    const QRect samples = f.pane.Samples->geometry();

    f.layout->SlidePanelBar(direction, distance, qint16(step));

    QCOMPARE(f.pane.FrameBar->y(), top);
    const int moved = top - start;
    QCOMPARE(f.RTFP->height(), H0 + moved);
    QCOMPARE(f.RTF->Widget()->height(), f.RTFP->height() + 22);
    if (direction == "V-")
        QCOMPARE(f.pane.Samples->geometry(), samples.adjusted(0, moved + 1, 0, 1));
    else if (direction == "V+")
        QCOMPARE(f.pane.Samples->geometry(),
            QRect(samples.x(), samples.y() + moved, samples.width(), qMax(0, samples.height() - moved)));
    QCOMPARE(f.bar.ScrollDown->y(), f.RTFP->y() + f.RTFP->height() - f.bar.ScrollDown->height());
    const DocumentScrollBar &bar = *f.scrollBar;
    QCOMPARE(int(bar.ThumbMax), f.bar.ScrollDown->y() - 36);
    QCOMPARE(int(bar.ThumbMin), f.bar.ScrollUp->y() + 18);
    // The thumb keeps its relative place: at the bottom it is at the bottom again.
    QCOMPARE(f.thumb(), int(std::lround((bar.ThumbMax - bar.ThumbMin) * fraction + bar.ThumbMin)));
    if (fraction == 1.0)
        QCOMPARE(f.thumb(), int(bar.ThumbMax));
}

void TestPaneLayout::pressAndReleaseLaysOutAgain()
{
    PageFixture f;
    f.layout->SlidePanelBar("V-", Closed - 450, 3);
    f.layout->ShowSplitter(true);
    f.RTF->Widget()->resize(10, 10);
    f.bar.ScrollLine->resize(4, 5);
    QTest::mousePress(f.pane.Splitter, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(f.pane.Splitter, Qt::LeftButton, {}, QPoint(50, 10));
    QCOMPARE(f.pane.FrameBar->y(), 450);
    QCOMPARE(f.settings.SplitterTop, qint16(450));
    QCOMPARE(f.RTFP->height(), 450 - LowestPaneTop);
    QCOMPARE(f.RTF->Widget()->height(), f.RTFP->height() + 22);
    QCOMPARE(f.bar.ScrollLine->height(), f.scrollBar->ThumbMax - f.scrollBar->ThumbMin + 36);
    QCOMPARE(f.examplesLayouts, 1);
    QVERIFY(f.pane.Line1->isHidden());
}

void TestPaneLayout::splitterDrag_data()
{
    QTest::addColumn<int>("pointer"); // from the splitter's top
    QTest::addColumn<int>("top");
    QTest::newRow("up 100") << -100 << 350;
    QTest::newRow("down 40") << 40 << 490;
    // The pane keeps its scroll bar whole and the bar stays above its closed place.
    QTest::newRow("far up") << -1000 << HighestBar;
    QTest::newRow("far down") << 1000 << Closed;
}

void TestPaneLayout::splitterDrag()
{
    QFETCH(int, pointer);
    QFETCH(int, top);
    PageFixture f;
    f.layout->SlidePanelBar("V-", Closed - 450, 3);
    f.layout->ShowSplitter(true);
    QCOMPARE(f.pane.Splitter->cursor().shape(), Qt::SizeVerCursor);

    QTest::mousePress(f.pane.Splitter, Qt::LeftButton, {}, QPoint(50, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(50, pointer), f.pane.Splitter->mapToGlobal(QPointF(50, pointer)),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.pane.Splitter, &move);
    QVERIFY(f.pane.Line1->isVisible());
    QCOMPARE(f.pane.Line1->y(), 450 + 15 + (top - 450));
    QCOMPARE(f.pane.FrameBar->y(), 450); // the bar waits for the release
    QTest::mouseRelease(f.pane.Splitter, Qt::LeftButton, {}, QPoint(50, pointer));

    QCOMPARE(f.pane.FrameBar->y(), top);
    QCOMPARE(int(f.settings.SplitterTop), top);
    QCOMPARE(f.RTFP->height(), top - LowestPaneTop);
    QVERIFY(f.thumb() <= f.scrollBar->ThumbMax || f.scrollBar->ThumbMax < f.scrollBar->ThumbMin);
    QVERIFY(f.pane.Line1->isHidden());
}

QTEST_MAIN(TestPaneLayout)
#include "test_panelayout.moc"
