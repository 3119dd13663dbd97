// SPDX-License-Identifier: GPL-3.0-or-later

#include "menufixture.h"

#include <QtTest>

using Doubles = QList<double>;
using Ints = QList<int>;

// Five chapters of 3, 0, 12, 1 and 3 lessons; titles 30 and lesson rows 25
// pixels tall, so that a half row is a fraction of a pixel.
static const QList<int> Course = { 3, 0, 12, 1, 3 };

class TestMenuGeometry final : public QObject
{
    Q_OBJECT
private slots:
    void buildStacksClosedChapters();
    void closedChaptersTallerThanTheFrameCanBeScrolledTo();
    void expand_data();
    void expand();
    void collapse_data();
    void collapse();
    void capacityAndBadSteps_data();
    void capacityAndBadSteps();
};

void TestMenuGeometry::buildStacksClosedChapters()
{
    MenuFixture f(CourseWith(Course));
    f.settings.TitleTextOffset = 6;
    f.build();
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(f.controls.Imenu[i]->y(), (i - 1) * 30);
        QCOMPARE(f.controls.ImenuL[i]->y(), (i - 1) * 30 + 6);
        QVERIFY(!f.controls.Imenu[i]->isHidden());
        QCOMPARE(f.controls.ImenuL[i]->caption(), QStringLiteral("Chapter %1").arg(i));
    }
    for (int i = 6; i <= 9; ++i) {
        QVERIFY(f.controls.Imenu[i]->isHidden());
        QVERIFY(f.controls.ImenuL[i]->isHidden());
    }
    QCOMPARE(f.looks(), QStringLiteral("RRRRR"));
    QVERIFY(f.visibleLinks().isEmpty());
    QCOMPARE(f.controls.MenuIn->geometry(), QRect(0, 0, 177, 432));
    QVERIFY(f.controls.MenuScrollUp->isHidden());
    QVERIFY(f.controls.MenuScrollDown->isHidden());
    // Arrows centred over and under the frame, 3 pixels away.
    QCOMPARE(f.controls.MenuScrollUp->geometry(), QRect(630, 136 - 13 - 3, 36, 13)); // 560 + 141/2 = 630.5
    QCOMPARE(f.controls.MenuScrollDown->geometry(), QRect(630, 136 + 433 + 3, 36, 13));
    // A quarter of the way across the gap from the pane (right edge 537) to the menu (560).
    QCOMPARE(f.controls.ImVline->x(), 543); // 542.75
    QCOMPARE(f.controls.Alink[1]->size(), QSize(177, 25));
    QCOMPARE(f.menu->CurChapter, qint16(0));
}

void TestMenuGeometry::closedChaptersTallerThanTheFrameCanBeScrolledTo()
{
    MenuFixture f(CourseWith({ 1, 0, 1, 1, 1, 1, 1, 1, 1 }), 50);
    f.build();
    QCOMPARE(f.controls.MenuIn->height(), 9 * 50 + 10);
    QVERIFY(!f.controls.MenuScrollDown->isHidden());
}

void TestMenuGeometry::expand_data()
{
    QTest::addColumn<int>("chapter");
    QTest::addColumn<int>("steps");
    QTest::addColumn<Ints>("K");
    QTest::addColumn<Ints>("shownAt"); // link shown at each step, 0 for none
    QTest::addColumn<Doubles>("nextTop"); // Imenu(a + 1).Top after each step
    QTest::addColumn<Doubles>("finalTops"); // Imenu(1..5).Top at the end
    QTest::addColumn<int>("menuInHeight");

    QTest::newRow("3 lessons, 2 steps") << 1 << 2 << Ints { 0, 1, 2, 2, 2, 3, 4, 4 } << Ints { 0, 1, 0, 2, 0, 3, 0, 0 }
                                        << Doubles { 30, 42.5, 55, 67.5, 80, 92.5, 109, 109 }
                                        // from the opened title's text (4) + rows
                                        << Doubles { 0, 109, 139, 169, 199 } << 5 * 30 + 3 * 25 + 10;
    QTest::newRow("3 lessons, 3 steps") << 1 << 3 << Ints { 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4 }
                                        << Ints { 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 0 }
                                        << Doubles { 30, 30 + 25 / 3.0, 30 + 50 / 3.0, 55, 30 + 100 / 3.0,
                                               30 + 125 / 3.0, 80, 30 + 175 / 3.0, 30 + 200 / 3.0, 105, 109, 109 }
                                        << Doubles { 0, 109, 139, 169, 199 } << 5 * 30 + 3 * 25 + 10;
    QTest::newRow("last chapter moves nothing")
        << 5 << 2 << Ints { 0, 1, 2, 2, 2, 3, 4, 4 } << Ints { 0, 1, 0, 2, 0, 3, 0, 0 }
        << Doubles { 0, 0, 0, 0, 0, 0, 0, 0 } << Doubles { 0, 30, 60, 90, 120 } << 5 * 30 + 3 * 25 + 10;
    QTest::newRow("no lessons: later chapters only set in place")
        << 2 << 2 << Ints { 0, 1 } << Ints { 0, 0 } << Doubles { 60, 64 } << Doubles { 0, 30, 64, 94, 124 }
        << 5 * 30 + 10;
    QTest::newRow("one lesson, 1 step") << 4 << 1 << Ints { 1, 2 } << Ints { 1, 0 } << Doubles { 145, 149 }
                                        << Doubles { 0, 30, 60, 90, 149 } << 5 * 30 + 25 + 10;
}

void TestMenuGeometry::expand()
{
    QFETCH(int, chapter);
    QFETCH(int, steps);
    QFETCH(Ints, K);
    QFETCH(Ints, shownAt);
    QFETCH(Doubles, nextTop);
    QFETCH(Doubles, finalTops);
    QFETCH(int, menuInHeight);

    MenuFixture f(CourseWith(Course), 30, 25, steps);
    f.build();
    QList<LessonMenu::Step> trace;
    f.menu->StepObserver = [&](const LessonMenu::Step &s) { trace << s; };
    f.menu->ExpandChapter(chapter);

    QCOMPARE(trace.size(), K.size());
    for (int i = 0; i < trace.size(); ++i) {
        QCOMPARE(trace[i].S, i + 1);
        QCOMPARE(int(trace[i].K), K[i]);
        QCOMPARE(trace[i].shownLink, shownAt[i]);
        QVERIFY2(qFuzzyCompare(1 + trace[i].nextChapterTop, 1 + nextTop[i]),
            qPrintable(QStringLiteral("step %1: %2").arg(i + 1).arg(trace[i].nextChapterTop)));
    }
    const int lessons = Course[chapter - 1];
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(f.menu->ChapterTop(i), finalTops[i - 1]);
        QCOMPARE(f.controls.Imenu[i]->y(), int(finalTops[i - 1]));
        QCOMPARE(f.controls.ImenuL[i]->y(), int(finalTops[i - 1]) + 4);
    }
    Ints expectedLinks;
    for (int k = 1; k <= lessons; ++k) {
        expectedLinks << k;
        QCOMPARE(f.controls.Alink[k]->y(), (chapter - 1) * 30 + 30 + (k - 1) * 25);
        QCOMPARE(f.controls.Alink[k]->caption(), QStringLiteral("Lesson %1.%2").arg(chapter).arg(k));
    }
    QCOMPARE(f.visibleLinks(), expectedLinks);
    QCOMPARE(f.controls.MenuIn->height(), menuInHeight);
    QCOMPARE(f.menuInTop(), 0);
    QCOMPARE(f.menu->OpeningChapter, qint16(chapter));
    QVERIFY(!f.controls.MenuScrollTimer->isActive()); // everything fits the frame
}

void TestMenuGeometry::collapse_data()
{
    QTest::addColumn<int>("chapter");
    QTest::addColumn<Ints>("K");
    QTest::addColumn<Ints>("hiddenAt");
    QTest::addColumn<Doubles>("nextTop");

    QTest::newRow("3 lessons") << 1 << Ints { 3, 2, 2, 2, 1, 0, 0 } << Ints { 3, 0, 2, 0, 1, 0, 0 }
                               << Doubles { 96.5, 84, 71.5, 59, 46.5, 30, 30 };
    QTest::newRow("last chapter") << 5 << Ints { 3, 2, 2, 2, 1, 0, 0 } << Ints { 3, 0, 2, 0, 1, 0, 0 }
                                  << Doubles { 0, 0, 0, 0, 0, 0, 0 };
    QTest::newRow("no lessons") << 2 << Ints { 0 } << Ints { 0 } << Doubles { 60 };
    QTest::newRow("12 lessons packs after its last row")
        << 3 << Ints { 12, 12, 11, 10, 10, 10, 9, 8, 8, 8, 7, 6, 6, 6, 5, 4, 4, 4, 3, 2, 2, 2, 1, 0, 0 }
        << Ints { 12, 0, 11, 0, 10, 0, 9, 0, 8, 0, 7, 0, 6, 0, 5, 0, 4, 0, 3, 0, 2, 0, 1, 0, 0 }
        << Doubles { 381.5, 369, 356.5, 344, 331.5, 319, 306.5, 294, 281.5, 269, 256.5, 244, 231.5, 219, 206.5, 194,
               181.5, 169, 156.5, 144, 131.5, 119, 106.5, 90, 90 };
}

void TestMenuGeometry::collapse()
{
    QFETCH(int, chapter);
    QFETCH(Ints, K);
    QFETCH(Ints, hiddenAt);
    QFETCH(Doubles, nextTop);

    MenuFixture f(CourseWith(Course));
    f.build();
    f.menu->ExpandChapter(chapter);
    f.controls.MenuScrollTimer->stop();
    f.controls.MenuIn->move(0, -20); // scrolled down before closing
    QList<LessonMenu::Step> trace;
    f.menu->StepObserver = [&](const LessonMenu::Step &s) { trace << s; };
    f.menu->CollapseChapter(chapter);

    QCOMPARE(trace.size(), K.size());
    const int first = K.size() - 1;
    for (int i = 0; i < trace.size(); ++i) {
        QCOMPARE(trace[i].S, first - i);
        QCOMPARE(int(trace[i].K), K[i]);
        QCOMPARE(trace[i].hiddenLink, hiddenAt[i]);
        QCOMPARE(trace[i].nextChapterTop, nextTop[i]);
    }
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(f.menu->ChapterTop(i), (i - 1) * 30.0);
        QCOMPARE(f.controls.ImenuL[i]->y(), (i - 1) * 30 + 4);
    }
    QVERIFY(f.visibleLinks().isEmpty());
    // Never shorter than the frame, and back at the top.
    QCOMPARE(f.controls.MenuIn->height(), 433);
    QCOMPARE(f.menuInTop(), 0);
}

void TestMenuGeometry::capacityAndBadSteps_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("expandPasses");
    QTest::newRow("steps 0 count as 1") << 0 << 13;
    QTest::newRow("negative steps count as 1") << -4 << 13;
    QTest::newRow("huge steps") << 32767 << 13 * 32767;
}

void TestMenuGeometry::capacityAndBadSteps()
{
    QFETCH(int, steps);
    QFETCH(int, expandPasses);
    // Eleven chapters, the first with 15 lessons: the menu has room for 9 and 12.
    QList<int> course = { 15, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1 };
    MenuFixture f(CourseWith(course), 30, 25, steps);
    f.build();
    QVERIFY(!f.controls.Imenu[9]->isHidden());
    QCOMPARE(f.controls.ImenuL[9]->caption(), QStringLiteral("Chapter 9"));
    int passes = 0;
    f.menu->StepObserver = [&](const LessonMenu::Step &) { ++passes; };
    f.menu->ExpandChapter(1);
    QCOMPARE(passes, expandPasses);
    QCOMPARE(f.visibleLinks().size(), 12);
    QCOMPARE(f.controls.Alink[12]->caption(), QStringLiteral("Lesson 1.12"));
    QCOMPARE(f.menu->ChapterTop(9), 4 + 8 * 30 + 12 * 25.0);
    QCOMPARE(f.controls.MenuIn->height(), 9 * 30 + 12 * 25 + 10);
    f.menu->CollapseChapter(1);
    QVERIFY(f.visibleLinks().isEmpty());
    QCOMPARE(f.menu->ChapterTop(9), 8 * 30.0);
    // Chapters without a control are never opened.
    f.menu->ExpandChapter(10);
    QCOMPARE(f.menu->OpeningChapter, qint16(1));
    QVERIFY(f.visibleLinks().isEmpty());
}

QTEST_MAIN(TestMenuGeometry)
#include "test_menugeometry.moc"
