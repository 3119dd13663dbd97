// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "../support/fakesoundmodule.h"
#include "../support/testfiles.h"
#include "app/mainwindow.h"
#include "pageview/documentview.h"
#include "widgets/activelink.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A small application folder: what a course installs beside the program.
struct AppFolder
{
    QTemporaryDir dir;
    explicit AppFolder(bool withFirstPage = true, bool withContents = true, bool withChime = false)
    {
        write(dir.filePath("data/html/nofile.htm"), "<html><body>missing</body></html>");
        if (withFirstPage)
            write(dir.filePath("data/html/first.htm"), "<html><body><p>welcome</p></body></html>");
        if (withContents)
            write(dir.filePath("contents.ini"), "@ One\r\n# a*2\r\n@ Two\r\n# b*0\r\n");
        if (withChime)
            write(dir.filePath("start.mp3"), "not really sound");
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStartup final : public QObject
{
    Q_OBJECT
private slots:
    void opensFirstPageOrNoFilePage_data();
    void opensFirstPageOrNoFilePage();
    void welcomeSoundOnlyWhenPresent();
    void missingContentsIsReportedAndStartupGoesOn();
    void popupMenuCommandsInOrder();
    void everyWayOfClosingSavesOptions_data();
    void everyWayOfClosingSavesOptions();
    void savedSplitterPositionComesBack();
};

void TestStartup::opensFirstPageOrNoFilePage_data()
{
    QTest::addColumn<bool>("withFirstPage");
    QTest::addColumn<QString>("page");
    QTest::newRow("first page") << true << "first.htm";
    QTest::newRow("no first page") << false << "nofile.htm";
}

void TestStartup::opensFirstPageOrNoFilePage()
{
    QFETCH(bool, withFirstPage);
    QFETCH(QString, page);
    AppFolder folder(withFirstPage);
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    QSignalSpy shown(w.RTF, &DocumentView::DocumentComplete);
    w.Load();
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + page);
    QTRY_VERIFY(!shown.isEmpty());
    QCOMPARE(shown.last().at(0).toString(), w.HtmlDir + page);
    QCOMPARE(w.StartPage, w.HtmlDir + "first.htm");
    QCOMPARE(w.NoFilePage, w.HtmlDir + "nofile.htm");
    QVERIFY(w.ImagesPath.endsWith("/Images/"));
    QCOMPARE(w.RecDir, QDir::cleanPath(folder.dir.path()) + "/rec/");
    QVERIFY(messages.boxes.isEmpty());
    QVERIFY(messages.dialogs.isEmpty());
    // The window is cut to its outline.
    QVERIFY(w.mask().contains(QPoint(730, 100)));
    QVERIFY(!w.mask().contains(QPoint(0, 0)));
    QVERIFY(!w.mask().contains(QPoint(40, 605)));
}

void TestStartup::welcomeSoundOnlyWhenPresent()
{
    {
        AppFolder folder;
        FakeMediaPlayer player;
        RecordingMessages messages;
        FakeMixerDevice mixer;
        FakePlatform platformFakes(&player, &messages, &mixer);
        MainWindow w(folder.dir.path(), platformFakes);
        w.Load();
        w.show();
        QTest::qWait(50);
        QVERIFY(player.fileNames.isEmpty());
        QCOMPARE(player.plays, 0);
    }
    AppFolder folder(true, true, true);
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    w.Load();
    QTest::qWait(50);
    QVERIFY(player.fileNames.isEmpty());
    // The chime waits until the window is first drawn, then plays once.
    w.show();
    QTRY_COMPARE(player.fileNames, QStringList { QDir::cleanPath(folder.dir.path()) + "/start.mp3" });
    QVERIFY(player.playing);
    w.RunPopupCommand(PopupMenu::CmdHelp);
    QTest::qWait(50);
    QCOMPARE(player.fileNames.size(), 1);
}

void TestStartup::missingContentsIsReportedAndStartupGoesOn()
{
    AppFolder folder(true, false);
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    w.Load();
    QCOMPARE(messages.boxes, QStringList { QStringLiteral("أحد الملفات ناقصة، يرجى إعادة تنصيب البرنامج") });
    QCOMPARE(w.catalogue.ChapterCount(), qint16(0));
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + "first.htm");
}

void TestStartup::popupMenuCommandsInOrder()
{
    AppFolder folder;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    w.Load();
    const QList<QAction *> actions = w.PopupMenuHandle->actions();
    QCOMPARE(actions.size(), 7);
    const QStringList captions = { "صفحة البداية", "حول البرنامج", "مراجع البرنامج", "كيف تستخدم البرنامج", "",
        "تصغير إلى شريط المهام", "خروج من البرنامج" };
    const QList<int> ids = { 1, 2, 3, 4, 7, 5, 6 };
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions.at(i)->isSeparator(), i == 4);
        QCOMPARE(actions.at(i)->text(), captions.at(i));
        QCOMPARE(actions.at(i)->data().toInt(), ids.at(i));
    }
    w.RunPopupCommand(PopupMenu::CmdAbout);
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + "about.htm");
    w.RunPopupCommand(0); // dismissed
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + "about.htm");
    w.RunPopupCommand(PopupMenu::CmdSeparator);
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + "about.htm");
}

void TestStartup::everyWayOfClosingSavesOptions_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("exit button") << 0;
    QTest::newRow("popup exit") << 1;
    QTest::newRow("window system close") << 2;
}

void TestStartup::everyWayOfClosingSavesOptions()
{
    QFETCH(int, way);
    AppFolder folder;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    auto *w = new MainWindow(folder.dir.path(), platformFakes);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Load();
    w->show();
    w->settings.SplitterTop = 401;
    QSignalSpy unloaded(w, &MainWindow::unloaded);
    if (way == 0)
        QTest::mouseClick(w->ImExit, Qt::LeftButton);
    else if (way == 1)
        w->RunPopupCommand(PopupMenu::CmdExit);
    else
        w->windowHandle()->close();
    QCOMPARE(unloaded.size(), 1);
    QCOMPARE(readAll(folder.path("savedoptions.ini")), QByteArray(" 401 \r\n"));
}

void TestStartup::savedSplitterPositionComesBack()
{
    AppFolder folder;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    {
        FakePlatform platformFakes(&player, &messages, &mixer);
        MainWindow w(folder.dir.path(), platformFakes);
        w.Load();
        QCOMPARE(w.settings.SplitterTop, qint16(450));
        w.settings.SplitterTop = 380;
        w.close();
    }
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(folder.dir.path(), platformFakes);
    w.Load();
    QCOMPARE(w.settings.SplitterTop, qint16(380));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
