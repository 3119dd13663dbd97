// SPDX-License-Identifier: GPL-3.0-or-later

#include "menufixture.h"

#include <QtTest>

using Ints = QList<int>;

// Nine chapters, the first with all twelve lessons: 580 pixels of content in a 433-pixel frame.
static const QList<int> LongFirst = { 12, 1, 1, 1, 1, 1, 1, 1, 1 };

class TestMenuScrolling final : public QObject
{
    Q_OBJECT
private slots:
    void heldArrow_data();
    void heldArrow();
    void arrowPressTakesOverTheAutomaticScroll();
    void automaticScroll_data();
    void automaticScroll();
    void markerHidesAndReturns();
};

void TestMenuScrolling::heldArrow_data()
{
    QTest::addColumn<QString>("direction");
    QTest::addColumn<int>("start");
    QTest::addColumn<Ints>("tops");
    // Whether the held arrow is still shown after each tick: once it hides, the
    // learner's release can no longer reach it, so the timer must stop by itself.
    QTest::addColumn<QList<bool>>("heldArrow");

    QTest::newRow("up past the top by one step")
        << "UP" << -25 << Ints { -15, -5, 5, 5 } << QList<bool> { true, true, false, false };
    // 147 pixels hang below the frame; a step that starts short of them may end up to 3 beyond.
    QTest::newRow("down past the bottom by part of a step")
        << "DOWN" << -130 << Ints { -140, -150, -150 } << QList<bool> { true, false, false };
    QTest::newRow("down flush with the bottom stays there")
        << "DOWN" << -137 << Ints { -147, -147 } << QList<bool> { false, false };
    QTest::newRow("down from the top") << "DOWN" << 0 << Ints { -10, -20 } << QList<bool> { true, true };
}

void TestMenuScrolling::heldArrow()
{
    QFETCH(QString, direction);
    QFETCH(int, start);
    QFETCH(Ints, tops);
    QFETCH(QList<bool>, heldArrow);

    MenuFixture f(CourseWith(LongFirst));
    f.build();
    f.menu->ChapterClick(1);
    f.controls.MenuScrollTimer->stop();
    f.controls.MenuIn->move(0, start);

    f.menu->ScrollArrowPressed(direction);
    QVERIFY(f.controls.MenuScrollTimer->isActive());
    QCOMPARE(f.controls.MenuScrollTimer->interval(), 100);
    for (int i = 0; i < tops.size(); ++i) {
        f.menu->MenuScrollTick();
        QCOMPARE(f.menuInTop(), tops[i]);
        const ActiveLink *arrow = direction == "UP" ? f.controls.MenuScrollUp : f.controls.MenuScrollDown;
        QCOMPARE(!arrow->isHidden(), heldArrow[i]);
        QCOMPARE(f.controls.MenuScrollTimer->isActive(), heldArrow[i]);
    }
    f.menu->ScrollArrowReleased();
    QVERIFY(!f.controls.MenuScrollTimer->isActive());
}

void TestMenuScrolling::arrowPressTakesOverTheAutomaticScroll()
{
    MenuFixture f(CourseWith({ 1, 1, 1, 1, 1, 12, 1, 1, 1 }));
    f.build();
    f.menu->ChapterClick(6);
    QVERIFY(f.controls.MenuScrollTimer->isActive());
    QCOMPARE(f.controls.MenuScrollTimer->interval(), 20);
    QCOMPARE(f.menu->ScrollDirection, QStringLiteral("BOTTOM"));

    // Through the arrow's own mouse events, as the learner presses it.
    f.host.show();
    f.controls.MenuScrollDown->show();
    QTest::mousePress(f.controls.MenuScrollDown, Qt::LeftButton);
    QCOMPARE(f.menu->ScrollDirection, QStringLiteral("DOWN"));
    QCOMPARE(f.controls.MenuScrollTimer->interval(), 100);
    QTest::mouseRelease(f.controls.MenuScrollDown, Qt::LeftButton);
    QVERIFY(!f.controls.MenuScrollTimer->isActive());
}

void TestMenuScrolling::automaticScroll_data()
{
    QTest::addColumn<Ints>("lessons");
    QTest::addColumn<int>("titleHeight");
    QTest::addColumn<int>("linkHeight");
    QTest::addColumn<int>("chapter");
    QTest::addColumn<int>("finalTop");

    // Link 12 of chapter 6 spans 455..480: in view from an offset of 47.
    QTest::newRow("until the last link is in view") << Ints { 1, 1, 1, 1, 1, 12, 1, 1, 1 } << 30 << 25 << 6 << -50;
    // Chapter 2's title sits at 30: the scroll stops once the offset has passed it.
    QTest::newRow("until the title would leave the top") << Ints { 1, 12, 1, 1, 1, 1, 1, 1, 1 } << 30 << 40 << 2 << -40;
    QTest::newRow("already in view: no move") << Ints { 3, 0, 12, 1, 3 } << 30 << 25 << 3 << 0;
    // Closed titles alone overflow the frame; a chapter without lessons has nothing to show.
    QTest::newRow("chapter without lessons") << Ints { 1, 0, 1, 1, 1, 1, 1, 1, 1 } << 50 << 25 << 2 << 0;
}

void TestMenuScrolling::automaticScroll()
{
    QFETCH(Ints, lessons);
    QFETCH(int, titleHeight);
    QFETCH(int, linkHeight);
    QFETCH(int, chapter);
    QFETCH(int, finalTop);

    MenuFixture f(CourseWith(lessons), titleHeight, linkHeight);
    f.build();
    f.menu->ChapterClick(chapter);
    QVERIFY(f.controls.MenuScrollTimer->isActive());
    QCOMPARE(f.menu->ScrollDirection, QStringLiteral("BOTTOM"));
    QTRY_VERIFY_WITH_TIMEOUT(!f.controls.MenuScrollTimer->isActive(), 3000);
    QCOMPARE(f.menuInTop(), finalTop);
    QCOMPARE(!f.controls.MenuScrollUp->isHidden(), finalTop < 0);
    // Stopped for good: a late tick changes nothing.
    f.menu->MenuScrollTick();
    QCOMPARE(f.menuInTop(), finalTop);
}

void TestMenuScrolling::markerHidesAndReturns()
{
    MenuFixture f(CourseWith(LongFirst));
    f.build();
    f.menu->ChapterClick(1);
    f.controls.MenuScrollTimer->stop();
    f.menu->LessonClick(1); // link 1 spans 30..55 of the content

    struct Expect
    {
        int top;
        bool shown;
        int markerTop; // 136 + top + 30 + 2.5, halves to even
    };
    f.menu->ScrollArrowPressed(QStringLiteral("DOWN"));
    for (const Expect &e : { Expect { -10, true, 158 }, Expect { -20, true, 148 }, Expect { -30, true, 138 },
             Expect { -40, false, 128 } }) {
        f.menu->MenuScrollTick();
        QCOMPARE(f.menuInTop(), e.top);
        QCOMPARE(!f.controls.ImSlide->isHidden(), e.shown);
        QCOMPARE(f.controls.ImSlide->y(), e.markerTop);
    }
    f.menu->ScrollArrowReleased();
    f.menu->ScrollArrowPressed(QStringLiteral("UP"));
    f.menu->MenuScrollTick();
    QCOMPARE(f.menuInTop(), -30);
    QVERIFY(!f.controls.ImSlide->isHidden());
    QCOMPARE(f.controls.ImSlide->y(), 138);
    f.menu->ScrollArrowReleased();

    // Without a selected lesson the marker stays hidden whatever scrolls.
    f.menu->ChapterClick(2);
    f.menu->ScrollArrowPressed(QStringLiteral("UP"));
    f.menu->MenuScrollTick();
    QVERIFY(f.controls.ImSlide->isHidden());
}

QTEST_MAIN(TestMenuScrolling)
#include "test_menuscrolling.moc"
