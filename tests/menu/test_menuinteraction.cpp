// SPDX-License-Identifier: GPL-3.0-or-later

#include "menufixture.h"

#include "base/colors.h"

#include <QAccessible>
#include <QtTest>

// Three chapters of 3, 4 and 2 lessons.
static const QList<int> Course = { 3, 4, 2 };

class TestMenuInteraction final : public QObject
{
    Q_OBJECT
private slots:
    void chapterClicks_data();
    void chapterClicks();
    void hover_data();
    void hover();
    void lessonClickSelectsAndMarks();
    void reopeningReselectsWithoutReloading();
    void clickingTheSelectedLinkOnlyReplacesTheMarker();
    void resetWithOpenChapter();
    void resetWithClosedChapterForgetsTheLesson();
    void lockedPageKeepsThePreviousSelection();
    void screenReaderHearsOpenChaptersAndTheChosenLesson_data();
    void screenReaderHearsOpenChaptersAndTheChosenLesson();
};

void TestMenuInteraction::chapterClicks_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("open");
    QTest::addColumn<QString>("looks");
    QTest::addColumn<QList<int>>("links");
    QTest::addColumn<int>("thirdTitleTop");

    QTest::newRow("open") << QList<int> { 1 } << 1 << "ORR" << QList<int> { 1, 2, 3 } << 4 + 60 + 75;
    // Rest look at once, although the pointer is still over the title.
    QTest::newRow("close the open chapter") << QList<int> { 2, 2 } << 0 << "RRR" << QList<int> {} << 60;
    QTest::newRow("switch") << QList<int> { 1, 2 } << 2 << "ROR" << QList<int> { 1, 2, 3, 4 } << 34 + 30 + 100;
    QTest::newRow("switch back and forth") << QList<int> { 1, 3, 1 } << 1 << "ORR" << QList<int> { 1, 2, 3 } << 139;
}

void TestMenuInteraction::chapterClicks()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, open);
    QFETCH(QString, looks);
    QFETCH(QList<int>, links);
    QFETCH(int, thirdTitleTop);

    MenuFixture f(CourseWith(Course));
    f.build();
    for (int c : clicks) {
        f.menu->ChapterMouseMove(c);
        f.menu->ChapterClick(c);
    }
    QCOMPARE(int(f.menu->CurChapter), open);
    QCOMPARE(f.looks(), looks);
    QCOMPARE(f.visibleLinks(), links);
    QCOMPARE(f.controls.Imenu[3]->y(), thirdTitleTop);
    if (open != 0)
        QCOMPARE(f.controls.Alink[1]->caption(), QStringLiteral("Lesson %1.1").arg(open));
    QVERIFY(f.opened.isEmpty()); // chapter clicks never change the page
    QVERIFY(f.controls.ImSlide->isHidden());
}

void TestMenuInteraction::hover_data()
{
    QTest::addColumn<int>("open");
    QTest::addColumn<QString>("moves"); // h<c> over a title, l over a link, b over the background
    QTest::addColumn<QString>("looks");
    QTest::addColumn<int>("hover");

    QTest::newRow("hover a title") << 0 << "h2"
                                   << "RHR" << 2;
    QTest::newRow("hover moves on") << 0 << "h2 h3"
                                    << "RRH" << 3;
    QTest::newRow("background rests it") << 0 << "h2 b"
                                         << "RRR" << 0;
    QTest::newRow("open chapter never hovers") << 1 << "h1"
                                               << "ORR" << 1;
    QTest::newRow("onto the open chapter") << 1 << "h2 h1"
                                           << "ORR" << 1;
    QTest::newRow("background keeps the open one") << 1 << "h1 b"
                                                   << "ORR" << 1;
    QTest::newRow("link rests but remembers") << 1 << "h3 l"
                                              << "ORR" << 3;
    QTest::newRow("link then background") << 1 << "h3 l b"
                                          << "ORR" << 0;
    QTest::newRow("back to a rested title") << 1 << "h3 l h3"
                                            << "ORH" << 3;
}

void TestMenuInteraction::hover()
{
    QFETCH(int, open);
    QFETCH(QString, moves);
    QFETCH(QString, looks);
    QFETCH(int, hover);

    MenuFixture f(CourseWith(Course));
    f.build();
    if (open)
        f.menu->ChapterClick(open);
    for (const QString &move : moves.split(' ')) {
        if (move.startsWith('h'))
            f.menu->ChapterMouseMove(move.mid(1).toInt());
        else if (move == "l")
            f.menu->LessonMouseMove(1);
        else
            f.menu->BackgroundMouseMove();
    }
    QCOMPARE(f.looks(), looks);
    QCOMPARE(int(f.menu->HoverChapter), hover);
    // Title text colours follow the pictures.
    for (int c = 1; c <= 3; ++c) {
        const qint32 expected = looks[c - 1] == 'O' ? f.settings.ChapterSelectedColor
            : looks[c - 1] == 'H'                   ? f.settings.ChapterHoverColor
                                                    : f.settings.ChapterColor;
        QCOMPARE(f.controls.ImenuL[c]->forecolor(), ColorFromBgr(expected));
    }
}

void TestMenuInteraction::lessonClickSelectsAndMarks()
{
    MenuFixture f(CourseWith(Course), 30, 25);
    f.RTFP->resize(505, 399);
    f.build();
    f.menu->ChapterClick(2);
    f.menu->LessonClick(3);
    QCOMPARE(f.opened, (QList<QPair<int, int>> { { 2, 3 } }));
    QCOMPARE(f.menu->CurLesson, qint16(3));
    ActiveLink *link = f.controls.Alink[3];
    QCOMPARE(LookOf(link->picture()), 'O');
    QCOMPARE(link->alignment(), int(ActiveLink::AlignLeftCode));
    QCOMPARE(link->forecolor(), ColorFromBgr(f.settings.LessonSelectedColor));
    // Marker on the line, centred on the link: 136 + 0 + (30 + 30 + 50) - (20 - 25) / 2 = 248.5.
    QVERIFY(!f.controls.ImSlide->isHidden());
    QCOMPARE(f.controls.ImSlide->pos(), QPoint(543, 248));
    QCOMPARE(f.settings.PageStep, qint16(399));
    QCOMPARE(f.menu->RememberedChapter, qint16(2));
    QCOMPARE(f.menu->RememberedLesson, qint16(3));

    f.menu->LessonClick(1);
    QCOMPARE(f.opened.last(), (QPair<int, int> { 2, 1 }));
    QCOMPARE(LookOf(link->picture()), 'R');
    QCOMPARE(link->alignment(), int(ActiveLink::AlignCenterCode));
    QCOMPARE(link->forecolor(), ColorFromBgr(0x808080));
    QCOMPARE(f.controls.ImSlide->y(), 198); // 136 + 60 + 2.5, half to even
    QCOMPARE(f.menu->RememberedLesson, qint16(1));
}

void TestMenuInteraction::reopeningReselectsWithoutReloading()
{
    MenuFixture f(CourseWith(Course));
    f.build();
    f.menu->ChapterClick(2);
    f.menu->LessonClick(3);
    f.menu->ChapterClick(2); // close
    QCOMPARE(f.menu->CurLesson, qint16(0));
    QVERIFY(f.controls.ImSlide->isHidden());
    QCOMPARE(f.controls.Alink[3]->alignment(), int(ActiveLink::AlignCenterCode));
    QCOMPARE(f.controls.Alink[3]->forecolor(), ColorFromBgr(0x808080));
    QCOMPARE(f.menu->RememberedChapter, qint16(2));

    f.menu->ChapterClick(1); // another chapter: nothing selected there
    QCOMPARE(f.menu->CurLesson, qint16(0));
    QVERIFY(f.controls.ImSlide->isHidden());
    QCOMPARE(LookOf(f.controls.Alink[3]->picture()), 'R');

    f.menu->ChapterClick(2);
    QCOMPARE(f.menu->CurLesson, qint16(3));
    QCOMPARE(LookOf(f.controls.Alink[3]->picture()), 'O');
    QCOMPARE(f.controls.Alink[3]->alignment(), int(ActiveLink::AlignLeftCode));
    QCOMPARE(f.controls.Alink[3]->forecolor(), ColorFromBgr(0x80));
    QVERIFY(!f.controls.ImSlide->isHidden());
    QCOMPARE(f.controls.ImSlide->y(), 248);
    QCOMPARE(f.opened.size(), 1);
}

void TestMenuInteraction::clickingTheSelectedLinkOnlyReplacesTheMarker()
{
    MenuFixture f(CourseWith(Course));
    f.build();
    f.menu->ChapterClick(1);
    f.menu->LessonClick(2);
    f.controls.ImSlide->hide();
    f.controls.ImSlide->move(0, 0);
    f.menu->LessonClick(2);
    QCOMPARE(f.opened.size(), 1);
    QVERIFY(!f.controls.ImSlide->isHidden());
    QCOMPARE(f.controls.ImSlide->pos(), QPoint(543, 194)); // 136 + 55 + 2.5, half to even
}

void TestMenuInteraction::resetWithOpenChapter()
{
    MenuFixture f(CourseWith(Course));
    f.build();
    f.menu->ChapterClick(2);
    f.menu->LessonClick(4);
    f.menu->ResetMenu();
    QCOMPARE(f.menu->CurChapter, qint16(0));
    QCOMPARE(f.menu->CurLesson, qint16(0));
    QCOMPARE(f.menu->RememberedChapter, qint16(0));
    QCOMPARE(f.menu->RememberedLesson, qint16(0));
    QCOMPARE(f.looks(), QStringLiteral("RRR"));
    QVERIFY(f.visibleLinks().isEmpty());
    QVERIFY(f.controls.ImSlide->isHidden());
    QCOMPARE(f.controls.Imenu[3]->y(), 60);
    QCOMPARE(f.panelCloses, 1);
    f.menu->ChapterClick(2);
    QCOMPARE(f.menu->CurLesson, qint16(0));
}

void TestMenuInteraction::resetWithClosedChapterForgetsTheLesson()
{
    MenuFixture f(CourseWith(Course));
    f.build();
    f.menu->ChapterClick(2);
    f.menu->LessonClick(4);
    f.menu->ChapterClick(2);
    f.menu->ResetMenu(); // a fixed page replaces the lesson
    QCOMPARE(f.panelCloses, 1);
    QVERIFY(f.controls.ImSlide->isHidden());
    f.menu->ChapterClick(2);
    QCOMPARE(f.menu->CurLesson, qint16(0));
    QVERIFY(f.controls.ImSlide->isHidden());
    // So a click on the lesson shows it again.
    f.menu->LessonClick(4);
    QCOMPARE(f.opened.size(), 2);
    QCOMPARE(f.opened.last(), (QPair<int, int> { 2, 4 }));
}

void TestMenuInteraction::lockedPageKeepsThePreviousSelection()
{
    MenuFixture f(CourseWith(Course));
    f.build();
    f.menu->ChapterClick(1);
    f.menu->LessonClick(1);
    const QPoint marker = f.controls.ImSlide->pos();

    f.nextResult = LessonMenu::OpenResult::FileInUse;
    f.menu->LessonClick(3);
    QCOMPARE(f.messages,
        QStringList { QStringLiteral(
            "لا يمكن فتح الملف الخاص بهذا الباب، تأكد أن هذا الملف ليس قيد الاستخدام من طرف برنامج آخر") });
    QCOMPARE(f.menu->CurLesson, qint16(1));
    QCOMPARE(LookOf(f.controls.Alink[1]->picture()), 'O');
    QCOMPARE(LookOf(f.controls.Alink[3]->picture()), 'R');
    QCOMPARE(f.controls.ImSlide->pos(), marker);
    QVERIFY(!f.controls.ImSlide->isHidden());
    QCOMPARE(f.menu->RememberedLesson, qint16(1));

    // Any other failure ends the click without a word.
    f.nextResult = LessonMenu::OpenResult::Failed;
    f.menu->LessonClick(2);
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.menu->CurLesson, qint16(1));

    // Once the file is free, the same click opens it.
    f.nextResult = LessonMenu::OpenResult::Opened;
    f.menu->LessonClick(3);
    QCOMPARE(f.opened.last(), (QPair<int, int> { 1, 3 }));
    QCOMPARE(f.menu->CurLesson, qint16(3));
    QCOMPARE(LookOf(f.controls.Alink[1]->picture()), 'R');
}

void TestMenuInteraction::screenReaderHearsOpenChaptersAndTheChosenLesson_data()
{
    // Steps: "c2" clicks chapter 2, "l3" lesson 3, "!l3" lesson 3 whose page is
    // locked, "reset" a page from elsewhere. expanded: '+' open, '-' closed.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expanded");
    QTest::addColumn<int>("selected");
    QTest::newRow("a chapter opens") << QStringList { "c1" } << "+--" << 0;
    QTest::newRow("a lesson is chosen") << QStringList { "c1", "l2" } << "+--" << 2;
    QTest::newRow("closing drops it") << QStringList { "c1", "l2", "c1" } << "---" << 0;
    QTest::newRow("reopening chooses it again") << QStringList { "c1", "l2", "c1", "c1" } << "+--" << 2;
    QTest::newRow("another chapter") << QStringList { "c1", "l2", "c2" } << "-+-" << 0;
    QTest::newRow("a locked page keeps the chosen one") << QStringList { "c2", "l1", "!l3" } << "-+-" << 1;
    QTest::newRow("a page from elsewhere") << QStringList { "c3", "l2", "reset" } << "---" << 0;
}

void TestMenuInteraction::screenReaderHearsOpenChaptersAndTheChosenLesson()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, expanded);
    QFETCH(int, selected);
    MenuFixture f(CourseWith(Course));
    f.build();
    for (const QString &step : steps) {
        f.nextResult = step.startsWith('!') ? LessonMenu::OpenResult::FileInUse : LessonMenu::OpenResult::Opened;
        const QString what = step.startsWith('!') ? step.mid(1) : step;
        if (what == "reset")
            f.menu->ResetMenu();
        else if (what.startsWith('c'))
            f.menu->ChapterClick(what.mid(1).toInt());
        else
            f.menu->LessonClick(what.mid(1).toInt());
    }
    QString heard;
    for (int c = 1; c <= Course.size(); ++c) {
        const QAccessible::State s = QAccessible::queryAccessibleInterface(f.controls.ImenuL[c])->state();
        QVERIFY(s.expandable);
        QCOMPARE(bool(s.collapsed), !s.expanded);
        heard += s.expanded ? '+' : '-';
    }
    QCOMPARE(heard, expanded);
    for (int k = 1; k <= MenuControls::LessonLinks; ++k) {
        const QAccessible::State s = QAccessible::queryAccessibleInterface(f.controls.Alink[k])->state();
        QCOMPARE(bool(s.selected), k == selected);
    }
}

QTEST_MAIN(TestMenuInteraction)
#include "test_menuinteraction.moc"
