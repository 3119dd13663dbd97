// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "../support/fakesoundmodule.h"
#include "../support/testfiles.h"
#include "menufixture.h"

#include "app/mainwindow.h"
#include "pageview/documentview.h"
#include "practice/examplespanel.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QStringEncoder>
#include <QTimer>
#include <QtTest>

namespace {

QByteArray cp1256(const QString &text)
{
    QStringEncoder encoder("windows-1256");
    return encoder.encode(text);
}

const QString FirstChapter = QStringLiteral("مقدمة");
const QString SecondLesson = QStringLiteral("تعريف التجويد");

// An application folder with a two-chapter course; lesson 1.2 has its page, 1.1 has none.
struct CourseFolder
{
    QTemporaryDir dir;
    CourseFolder()
    {
        WriteMenuSkin(dir.filePath("Images/"), 36, 28);
        write(dir.filePath("contents.ini"),
            cp1256(QStringLiteral("@ %1\r\n# فضل التلاوة*0\r\n# %2*2\r\n# آداب*0\r\n@ الحروف\r\n# المخارج*1\r\n")
                       .arg(FirstChapter, SecondLesson)));
        write(dir.filePath("data/html/first.htm"), "<html><body>first</body></html>");
        write(dir.filePath("data/html/nofile.htm"), "<html><body>missing</body></html>");
        write(dir.filePath("data/html/about.htm"), "<html><body>about</body></html>");
        write(dir.filePath("data/html/Ch1-2.htm"), "<html><body>lesson</body></html>");
    }
};

} // namespace

class TestMenuWindow final : public QObject
{
    Q_OBJECT
private slots:
    void clickThroughTheMenu();
    void screenReaderReachesTitlesAndLinks();
    void onlyTheBackgroundDragsOrOpensThePopup_data();
    void onlyTheBackgroundDragsOrOpensThePopup();
};

void TestMenuWindow::clickThroughTheMenu()
{
    CourseFolder folder;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    w.Load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const MenuControls &m = w.menuControls;

    QCOMPARE(m.ImenuL[1]->caption(), FirstChapter);
    QVERIFY(m.Imenu[3]->isHidden());
    QVERIFY(m.MenuScrollDown->isHidden());

    // A click on the title picture beside its text opens the chapter too.
    QTest::mouseClick(m.Imenu[1], Qt::LeftButton, {}, QPoint(170, 32));
    QCOMPARE(w.menu->CurChapter, qint16(1));
    QCOMPARE(m.Alink[2]->caption(), SecondLesson);
    QVERIFY(m.Alink[3]->isVisible());
    QCOMPARE(m.Imenu[2]->y(), 4 + 36 + 3 * 28);

    QTest::mouseClick(m.Alink[2], Qt::LeftButton);
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + "Ch1-2.htm");
    QVERIFY(m.ImSlide->isVisible());
    QCOMPARE(w.settings.PageStep, qint16(w.RTFP->height()));

    QTest::mouseClick(m.Alink[1], Qt::LeftButton);
    QCOMPARE(w.RTF->LocationURL(), w.NoFilePage);
    QCOMPARE(w.menu->CurLesson, qint16(1));

    // The second chapter's title, by its text.
    QTest::mouseClick(m.ImenuL[2], Qt::LeftButton);
    QCOMPARE(w.menu->CurChapter, qint16(2));
    QVERIFY(!m.Alink[2]->isVisible());
    QVERIFY(!m.ImSlide->isVisible());

    // Hover, then the window's background rests the title again.
    QTest::mouseMove(m.ImenuL[1]);
    QCOMPARE(w.menu->HoverChapter, qint16(1));
    QCOMPARE(LookOf(m.Imenu[1]->pixmap()), 'H');
    QTest::mouseMove(&w, QPoint(550, 100));
    QCOMPARE(w.menu->HoverChapter, qint16(0));
    QCOMPARE(LookOf(m.Imenu[1]->pixmap()), 'R');

    // A fixed page from the popup menu closes the menu.
    w.RunPopupCommand(PopupMenu::CmdAbout);
    QCOMPARE(w.menu->CurChapter, qint16(0));
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + "about.htm");
    QVERIFY(!m.Alink[1]->isVisible());
    // The test course has no example files: the examples panel says so, and
    // nothing else may come up.
    for (const QString &dialog : std::as_const(messages.dialogs))
        QCOMPARE(dialog, QStringLiteral("\r\n") + ExamplesPanel::ChapterFileMissing);
}

void TestMenuWindow::screenReaderReachesTitlesAndLinks()
{
    CourseFolder folder;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    w.Load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const MenuControls &m = w.menuControls;

    QAccessibleInterface *title = QAccessible::queryAccessibleInterface(m.ImenuL[1]);
    QVERIFY(title);
    QCOMPARE(title->text(QAccessible::Name), FirstChapter);
    QVERIFY(title->actionInterface());
    title->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(w.menu->CurChapter, qint16(1));

    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(m.Alink[2]);
    QVERIFY(link);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), SecondLesson);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(w.RTF->LocationURL(), w.HtmlDir + "Ch1-2.htm");

    QCOMPARE(QAccessible::queryAccessibleInterface(m.MenuScrollUp)->text(QAccessible::Name),
        QStringLiteral("تمرير القائمة لأعلى"));
    QCOMPARE(QAccessible::queryAccessibleInterface(m.MenuScrollDown)->text(QAccessible::Name),
        QStringLiteral("تمرير القائمة لأسفل"));
}

void TestMenuWindow::onlyTheBackgroundDragsOrOpensThePopup_data()
{
    QTest::addColumn<QString>("target"); // empty: the bare background
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("reachesBackground");
    for (const QString &target : { QStringLiteral("ImVline"), QStringLiteral("ImSlide"), QString() }) {
        const QByteArray name = target.isEmpty() ? QByteArray("background") : target.toLatin1();
        QTest::newRow(name + " left") << target << int(Qt::LeftButton) << target.isEmpty();
        QTest::newRow(name + " right") << target << int(Qt::RightButton) << target.isEmpty();
    }
}

void TestMenuWindow::onlyTheBackgroundDragsOrOpensThePopup()
{
    QFETCH(QString, target);
    QFETCH(int, button);
    QFETCH(bool, reachesBackground);
    CourseFolder folder;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    w.Load();
    w.move(100, 100);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The marker shows beside a selected lesson.
    w.menu->ChapterClick(1);
    w.menu->LessonClick(2);
    QVERIFY(w.menuControls.ImSlide->isVisible());

    QWidget *pressed = target.isEmpty() ? static_cast<QWidget *>(&w) : w.findChild<QWidget *>(target);
    QVERIFY(pressed);
    // A point of the bare background above the document pane, or the control's middle.
    const QPoint local = target.isEmpty() ? QPoint(400, 20) : pressed->rect().center();
    QVERIFY(target.isEmpty() ? !w.childAt(local) : w.childAt(pressed->mapTo(&w, local)) == pressed);

    bool popupOpened = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&popupOpened] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popupOpened = true;
            popup->close();
        }
    });
    closer.start(20);
    const QPoint start = w.pos();
    const auto send = [pressed](QEvent::Type type, QPoint at, Qt::MouseButton b, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(pressed->mapToGlobal(at)), b, held, Qt::NoModifier);
        QApplication::sendEvent(pressed, &event);
    };
    const auto b = Qt::MouseButton(button);
    send(QEvent::MouseButtonPress, local, b, b);
    send(QEvent::MouseMove, local + QPoint(30, 20), Qt::NoButton, b);
    send(QEvent::MouseButtonRelease, local + QPoint(30, 20), b, Qt::NoButton);
    QTest::qWait(60);

    const bool dragged = w.pos() != start;
    QCOMPARE(dragged, reachesBackground && b == Qt::LeftButton);
    QCOMPARE(popupOpened, reachesBackground && b == Qt::RightButton);
}

QTEST_MAIN(TestMenuWindow)
#include "test_menuwindow.moc"
