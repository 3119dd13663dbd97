// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"

#include <QAccessible>
#include <QFrame>
#include <QStringEncoder>
#include <QtTest>

namespace {

// Lessons numbered 0, 5, 98 and 3 (its page missing), then index lessons of two
// and three entries.
QByteArray cp1256(const QString &text)
{
    QStringEncoder encoder("windows-1256");
    return encoder.encode(text);
}

const QByteArray Course
    = cp1256(QStringLiteral("@ الباب الأول\r\n# بلا أمثلة*0\r\n# خمسة*5\r\n# كثيرة*98\r\n# ناقصة*3\r\n"
                            "# فهرسان*99\r\n& المدخل*2\r\n& الخاتمة*0\r\n"
                            "# ثلاثة*99\r\n& أ*1\r\n& ب*4\r\n& ج*7\r\n"));

struct CourseFixture : PageFixture
{
    CourseFixture()
        : PageFixture(Course)
    {
        for (const char *name : { "Ch1-1.htm", "Ch1-2.htm", "Ch1-3.htm", "Ch1-5-1.htm", "Ch1-6-2.htm", "Ch1-6-3.htm" })
            write(htmlDir() + name, "<html><body>" + QByteArray(name) + "</body></html>");
    }

    QList<int> shownLinks() const
    {
        QList<int> shown;
        for (int i = 0; i < PageControls::EntryLinks; ++i) {
            if (!page.Lien[i]->isHidden())
                shown << i;
        }
        return shown;
    }
};

} // namespace

class TestLessonPages final : public QObject
{
    Q_OBJECT
private slots:
    void openLesson_data();
    void openLesson();
    void entriesAndBackToTheList();
    void linksHighlightUnderThePointer();
};

void TestLessonPages::openLesson_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QString>("shown"); // the page in the view, or "" for the index list
    QTest::addColumn<QList<int>>("setups");
    QTest::addColumn<QList<int>>("links");

    QTest::newRow("no examples") << 1 << "Ch1-1.htm" << QList<int> { 0 } << QList<int> {};
    QTest::newRow("five examples") << 2 << "Ch1-2.htm" << QList<int> { 5 } << QList<int> {};
    QTest::newRow("98 is still a page") << 3 << "Ch1-3.htm" << QList<int> { 98 } << QList<int> {};
    QTest::newRow("missing page") << 4 << "nofile.htm" << QList<int> { 3 } << QList<int> {};
    QTest::newRow("99 is an index") << 5 << "" << QList<int> { 0 } << QList<int> { 0, 1 };
}

void TestLessonPages::openLesson()
{
    QFETCH(int, lesson);
    QFETCH(QString, shown);
    QFETCH(QList<int>, setups);
    QFETCH(QList<int>, links);

    CourseFixture f;
    f.RTF->Navigate(f.htmlDir() + "nofile.htm");
    QCOMPARE(f.pages->OpenLesson(1, lesson), PageOpenResult::Opened);
    QCOMPARE(f.setups, setups);
    const bool index = shown.isEmpty();
    QCOMPARE(f.RTFP->isVisible(), !index);
    QCOMPARE(f.page.BabFrame->isVisible(), index);
    QCOMPARE(f.shownLinks(), links);
    if (!index) {
        QCOMPARE(f.RTF->LocationURL(), f.htmlDir() + shown);
        QCOMPARE(f.examplesLayouts, 1);
    } else {
        QCOMPARE(f.page.BabTitle->caption(), QStringLiteral("فهرسان"));
        QCOMPARE(f.page.BabFrame->geometry(), QRect(32, 63, 505, f.pane.FrameBar->y() - 63 - 10));
        QCOMPARE(f.page.Lien[0]->y(), 40 + f.page.BabTitle->height() + 70);
        QCOMPARE(f.page.Lien[1]->geometry(), QRect(152, f.page.Lien[0]->y() + 60, 200, 40));
        QVERIFY(f.bar.ScrollUp->isHidden());
        // Its background, loaded only now, in the middle of the frame.
        QCOMPARE(f.page.BabBack->geometry(), QRect(52, (f.page.BabFrame->height() - 300) / 2, 400, 300));
    }
    const PagePosition &p = f.pages->Position();
    QCOMPARE(QList<int>({ p.chapter, p.lesson, p.entry, int(p.indexMode) }), QList<int>({ 1, lesson, 0, int(index) }));
}

void TestLessonPages::entriesAndBackToTheList()
{
    CourseFixture f;
    f.pages->OpenLesson(1, 6);
    QCOMPARE(f.shownLinks(), QList<int>({ 0, 1, 2 }));

    // A screen reader reads the entry under its title and presses it.
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(f.page.Lien[1]);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("ب"));
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

    const QString title = QStringLiteral("فهرس ثلاثة");
    QTRY_COMPARE(f.page.BabTitle->caption(), title);
    QCOMPARE(f.page.BabTitle->y(), 0);
    QCOMPARE(f.page.BabFrame->height(), f.page.BabTitle->height());
    const int bottom = 63 + f.page.BabTitle->height();
    QCOMPARE(f.page.Line2->geometry(), QRect(32, bottom, 505, 1));
    QVERIFY(f.page.Line2->isVisible());
    QCOMPARE(f.RTFP->geometry(), QRect(32, bottom + 1, 505, f.pane.FrameBar->y() - bottom - 1 - 10));
    QCOMPARE(f.RTF->Widget()->height(), f.RTFP->height() + 22);
    QCOMPARE(f.bar.ScrollUp->y(), bottom + 1);
    QCOMPARE(f.RTF->LocationURL(), f.htmlDir() + "Ch1-6-2.htm");
    QCOMPARE(f.setups, QList<int>({ 0, 4 }));
    QCOMPARE(f.pages->Position().entry, qint16(2));

    QTest::mouseClick(f.page.BabTitle, Qt::LeftButton);
    QCOMPARE(f.page.BabTitle->caption(), QStringLiteral("ثلاثة"));
    QVERIFY(!f.RTFP->isVisible());
    QVERIFY(!f.page.Line2->isVisible());
    QCOMPARE(f.setups.last(), 0);
    QCOMPARE(f.pages->Position().entry, qint16(2));
    QVERIFY(f.pages->Position().indexMode);

    QTest::mouseClick(f.page.Lien[2], Qt::LeftButton);
    QCOMPARE(f.page.BabTitle->caption(), title);
    QCOMPARE(f.RTF->LocationURL(), f.htmlDir() + "Ch1-6-3.htm");
    QCOMPARE(f.setups.last(), 7);
    QCOMPARE(f.pages->Position().entry, qint16(3));

    // An entry without its page shows the missing-page page, and its examples still.
    f.pages->BabTitleClick();
    f.pages->OpenEntry(0);
    QCOMPARE(f.RTF->LocationURL(), f.htmlDir() + "nofile.htm");
    QCOMPARE(f.setups.last(), 1);
}

void TestLessonPages::linksHighlightUnderThePointer()
{
    CourseFixture f;
    f.pages->OpenLesson(1, 6);
    QTest::mouseMove(f.page.Lien[1]);
    QCOMPARE(f.page.Lien[1]->backcolor(), QColor(0xFF, 0xFF, 0xC0));
    QCOMPARE(f.page.Lien[1]->borderstyle(), 1);
    QTest::mouseMove(f.page.Lien[0]);
    QVERIFY(!f.page.Lien[1]->backcolor().isValid());
    QCOMPARE(f.page.Lien[0]->borderstyle(), 1);
    QTest::mouseMove(f.page.BabFrame, QPoint(5, 5));
    for (ActiveLink *link : f.page.Lien) {
        QVERIFY(!link->backcolor().isValid());
        QCOMPARE(link->borderstyle(), 0);
        QCOMPARE(link->forecolor(), QColor(0, 0, 0xFF));
    }
}

QTEST_MAIN(TestLessonPages)
#include "test_lessonpages.moc"
