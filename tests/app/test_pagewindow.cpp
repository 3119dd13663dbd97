// SPDX-License-Identifier: GPL-3.0-or-later

#include "../content/pagefixture.h"
#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "../support/fakesoundmodule.h"
#include "../support/fakewave.h"
#include "app/mainwindow.h"
#include "compare/comparecontroller.h"
#include "compare/compareview.h"
#include "practice/examplespanel.h"
#include "practice/practicecontrols.h"
#include "practice/practicesession.h"
#include "practice/recorder.h"
#include "sound/api/stretchplayer.h"
#include "sound/program/silentsound.h"
#include "sound/program/soundlibrary.h"
#include "widgets/activelink.h"
#include "widgets/statusline.h"

#include <QSignalSpy>
#include <QStringEncoder>
#include <QTextBrowser>
#include <QtTest>

namespace {

QByteArray cp1256(const QString &text)
{
    QStringEncoder encoder("windows-1256");
    return encoder.encode(text);
}

// Lesson 1.1 is a long page with links: to its own second part, to lesson 2.1,
// to an entry of the index lesson 1.2 and to a page that is no lesson.
struct LinkedCourse
{
    QTemporaryDir dir;
    LinkedCourse()
    {
        write(dir.filePath("contents.ini"),
            cp1256(QStringLiteral("@ الأول\r\n# أ*2\r\n# الفهرس*99\r\n& م*0\r\n& ن*3\r\n@ الثاني\r\n# ب*0\r\n")));
        const QString html = dir.filePath("data/html/");
        write(html + "first.htm", "<html><body>first</body></html>");
        write(html + "nofile.htm", "<html><body>missing</body></html>");
        write(html + "about.htm", "<html><body>about</body></html>");
        write(html + "Ch2-1.htm", "<html><body>2.1</body></html>");
        write(html + "Ch1-2-2.htm", "<html><body>1.2.2</body></html>");
        write(html + "Ch1-1.htm",
            LongPage(200, "<a href=\"#part2\">part 2</a> <a href=\"Ch2-1.htm\">2.1</a>",
                "<p><a name=\"part2\">part 2</a></p>"));
    }
};

} // namespace

class TestPageWindow final : public QObject
{
    Q_OBJECT
private slots:
    void positionStaysWithThePage();
    void linksInsideAPage_data();
    void linksInsideAPage();
    void draggedSplitterSurvivesARestart();
    void comparisonStaysWithItsTake_data();
    void comparisonStaysWithItsTake();
    void takesShowAsProgress_data();
    void takesShowAsProgress();
    void examplesPanelMadeWhenNeeded_data();
    void examplesPanelMadeWhenNeeded();
};

void TestPageWindow::positionStaysWithThePage()
{
    LinkedCourse course;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(course.dir.path(), platformFakes);
    w.Load();
    w.menu->ChapterClick(1);
    w.menu->LessonClick(1);
    w.menu->ChapterClick(2);
    QCOMPARE(w.menu->CurChapter, qint16(2));
    QCOMPARE(w.menu->CurLesson, qint16(0));
    const PagePosition &p = w.pages->Position();
    QCOMPARE(QList<int>({ p.chapter, p.lesson, p.entry, int(p.indexMode) }), QList<int>({ 1, 1, 0, 0 }));
}

void TestPageWindow::linksInsideAPage_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QList<int>>("position"); // chapter, lesson, entry, index mode
    QTest::addColumn<QList<int>>("menu"); // chapter, lesson

    QTest::newRow("anchor") << "#part2"
                            << "Ch1-1.htm" << QList<int> { 1, 1, 0, 0 } << QList<int> { 1, 1 };
    QTest::newRow("another lesson") << "Ch2-1.htm"
                                    << "Ch2-1.htm" << QList<int> { 2, 1, 0, 0 } << QList<int> { 2, 1 };
    QTest::newRow("an entry, any case") << "CH1-2-2.HTM"
                                        << "Ch1-2-2.htm" << QList<int> { 1, 2, 2, 1 } << QList<int> { 1, 2 };
    QTest::newRow("no lesson") << "about.htm"
                               << "about.htm" << QList<int> { 1, 1, 0, 0 } << QList<int> { 1, 1 };
}

void TestPageWindow::linksInsideAPage()
{
    QFETCH(QString, href);
    QFETCH(QString, page);
    QFETCH(QList<int>, position);
    QFETCH(QList<int>, menu);

    LinkedCourse course;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(course.dir.path(), platformFakes);
    w.Load();
    w.show();
    w.menu->ChapterClick(1);
    w.menu->LessonClick(1);
    QTRY_VERIFY(!w.RTF->Busy());

    emit static_cast<QTextBrowser *>(w.RTF->Widget())->anchorClicked(QUrl(href));
    // A page whose name differs in case from the file stands for it on a
    // case-blind course folder, but the view shows the file the menu opens.
    QCOMPARE(w.RTF->LocationURL(), w.HtmlDir + page);
    const PagePosition &p = w.pages->Position();
    QCOMPARE(QList<int>({ p.chapter, p.lesson, p.entry, int(p.indexMode) }), position);
    QCOMPARE(QList<int>({ w.menu->CurChapter, w.menu->CurLesson }), menu);
    if (href.startsWith('#')) {
        QVERIFY(w.RTF->ScrollTop() > 0);
        QVERIFY(w.scrollBarControls.scrollpos->y() > w.scrollBar->ThumbMin);
    }
    // The test course has no example files: the examples panel says so, and
    // nothing else may come up.
    for (const QString &dialog : std::as_const(messages.dialogs))
        QCOMPARE(dialog, QStringLiteral("\r\n") + ExamplesPanel::ChapterFileMissing);
}

void TestPageWindow::draggedSplitterSurvivesARestart()
{
    LinkedCourse course;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    int dragged = 0;
    {
        FakePlatform platformFakes(&player, &messages, &mixer);
        MainWindow w(course.dir.path(), platformFakes);
        w.Load();
        w.show();
        w.paneLayout->SlidePanelBar("V-", w.paneControls.FrameBar->y() - w.settings.SplitterTop, w.settings.SlideStep);
        w.paneLayout->ShowSplitter(true);
        QTest::mousePress(w.paneControls.Splitter, Qt::LeftButton, {}, QPoint(5, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(5, -60), w.paneControls.Splitter->mapToGlobal(QPointF(5, -60)),
            Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.paneControls.Splitter, &move);
        QTest::mouseRelease(w.paneControls.Splitter, Qt::LeftButton, {}, QPoint(5, -60));
        dragged = w.paneControls.FrameBar->y();
        QCOMPARE(dragged, 450 - 60);
        w.close();
    }
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(course.dir.path(), platformFakes);
    w.Load();
    QCOMPARE(int(w.settings.SplitterTop), dragged);
}

// Whatever the road away from the example whose take was compared, nothing said
// of that take remains: not the drawing, not the sentence a screen reader finds,
// not a result still on its way.
void TestPageWindow::comparisonStaysWithItsTake_data()
{
    QTest::addColumn<QString>("page"); // where the take is recorded: lesson or entry
    QTest::addColumn<QString>("road");
    QTest::addColumn<bool>("stopFirst");
    QTest::newRow("menu") << "lesson"
                          << "menu" << true;
    QTest::newRow("menu while recording") << "lesson"
                                          << "menu" << false;
    QTest::newRow("page link") << "lesson"
                               << "link" << true;
    QTest::newRow("page link while recording") << "lesson"
                                               << "link" << false;
    QTest::newRow("link to an entry") << "lesson"
                                      << "entry link" << true;
    QTest::newRow("popup page") << "lesson"
                                << "popup" << true;
    QTest::newRow("panel closed") << "lesson"
                                  << "close" << true;
    QTest::newRow("another example") << "lesson"
                                     << "example" << true;
    QTest::newRow("entry's title bar") << "entry"
                                       << "title" << true;
    QTest::newRow("another entry") << "entry"
                                   << "entry" << true;
}

void TestPageWindow::comparisonStaysWithItsTake()
{
    QFETCH(QString, page);
    QFETCH(QString, road);
    QFETCH(bool, stopFirst);
    LinkedCourse course;
    write(course.dir.filePath("data/html/Ch1-2-1.htm"), "<html><body>1.2.1</body></html>");
    for (const char *name : { "1-1-1", "1-1-2", "1-2-1-1", "1-2-2-1", "1-2-2-2" })
        write(course.dir.filePath("data/text/%1.txt").arg(QLatin1String(name)), "text");
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakeWaveAudio audio;
    FakeWaveInput input;
    // The comparison's own decoder and reader, from the sound library.
    SoundLibrary library;
    SoundModule *built = library.Load({ QStringLiteral(RATTIL_APP_DIR) });
    QVERIFY2(built, qPrintable(library.Error()));
    FakeSoundModule fakes(*built);
    fakes.player = &player;
    fakes.mixer = &mixer;
    fakes.audio = &audio;
    fakes.input = &input;
    Platform platform;
    platform.messages = &messages;
    platform.sound = &fakes;
    MainWindow w(course.dir.path(), platform);
    w.Load();
    w.show();
    w.menu->ChapterClick(1);
    w.menu->LessonClick(page == "lesson" ? 1 : 2);
    if (page == "entry")
        w.pages->OpenEntry(1);
    QTRY_VERIFY(!w.RTF->Busy());
    const PracticeControls &p = w.practiceControls;
    QVERIFY(p.SampleN[1]->isVisible());

    const auto described = [&w] { return w.paneControls.Samples->accessibleDescription(); };
    // A first take, compared and said.
    p.Arec->press();
    p.Astop->press();
    QTRY_VERIFY(w.practice->Comparison().HasResult());
    QVERIFY(!described().isEmpty());
    // A second take, whose comparison may still be on its way when the road is taken.
    p.Arec->press();
    if (stopFirst)
        p.Astop->press();

    QTextBrowser *view = static_cast<QTextBrowser *>(w.RTF->Widget());
    if (road == "menu")
        w.menu->LessonClick(2);
    else if (road == "link")
        emit view->anchorClicked(QUrl("Ch2-1.htm"));
    else if (road == "entry link")
        emit view->anchorClicked(QUrl("Ch1-2-2.htm"));
    else if (road == "popup")
        w.RunPopupCommand(PopupMenu::CmdAbout);
    else if (road == "close")
        p.ImSamplesDown->press();
    else if (road == "example")
        p.SampleN[2]->press();
    else if (road == "title")
        w.pages->BabTitleClick();
    else if (road == "entry")
        w.pages->OpenEntry(0);

    // The take in progress was saved under the page it began on.
    QVERIFY(QFile::exists(w.RecDir + (page == "lesson" ? "1-1-1.wav" : "1-2-2-1.wav")));
    QVERIFY(!w.practice->Comparison().HasResult());
    QVERIFY(!w.practice->Comparison().IsBusy());
    QCOMPARE(described(), QString());
    QVERIFY(!w.practice->View().isVisible());
    // Nothing comes later either.
    QTest::qWait(400);
    QVERIFY(!w.practice->Comparison().HasResult());
    QCOMPARE(described(), QString());
    QVERIFY(!w.practice->View().isVisible());
}

// A saved take marks its example's button and its lesson's link, whichever
// page it was saved from; a take from an earlier run is there from the start.
void TestPageWindow::takesShowAsProgress_data()
{
    QTest::addColumn<QString>("page"); // lesson 1.1, or entry 2 of the index lesson 1.2
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("take stopped") << "lesson"
                                  << "stop" << 1 << QStringLiteral("٠ من ٢") << QStringLiteral("١ من ٢");
    QTest::newRow("take saved on leaving the lesson")
        << "lesson"
        << "leave" << 1 << QStringLiteral("٠ من ٢") << QStringLiteral("١ من ٢");
    QTest::newRow("take of an earlier run") << "lesson"
                                            << "earlier" << 1 << QStringLiteral("١ من ٢") << QStringLiteral("١ من ٢");
    QTest::newRow("take on an entry sub-page") << "entry"
                                               << "stop" << 2 << QStringLiteral("٠ من ٣") << QStringLiteral("١ من ٣");
}

void TestPageWindow::takesShowAsProgress()
{
    QFETCH(QString, page);
    QFETCH(QString, road);
    QFETCH(int, link);
    QFETCH(QString, before);
    QFETCH(QString, after);
    LinkedCourse course;
    for (const char *name : { "1-1-1", "1-1-2", "1-2-2-1", "1-2-2-2", "1-2-2-3" })
        write(course.dir.filePath("data/text/%1.txt").arg(QLatin1String(name)), "text");
    if (road == "earlier")
        write(course.dir.filePath("rec/1-1-1.wav"), "RIFF");
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakeWaveAudio audio;
    FakeWaveInput input;
    FakePlatform platformFakes(&player, &messages, &mixer, &audio, &input);
    MainWindow w(course.dir.path(), platformFakes);
    w.Load();
    w.show();
    w.menu->ChapterClick(1);
    ActiveLink *lessonLink = w.menuControls.Alink[link];
    QCOMPARE(lessonLink->note(), before);
    w.menu->LessonClick(link);
    if (page == "entry")
        w.pages->OpenEntry(1);
    const PracticeControls &p = w.practiceControls;
    const QString count = page == "entry" ? QStringLiteral(" من ٣") : QStringLiteral(" من ٢");
    if (road != "earlier") {
        QCOMPARE(p.SampleN[1]->accessibleDescription(), QStringLiteral("المثال ١") + count);
        p.Arec->press();
        if (road == "stop")
            p.Astop->press();
        else
            w.menu->LessonClick(2);
    }
    QCOMPARE(lessonLink->note(), after);
    QCOMPARE(lessonLink->accessibleDescription(), QStringLiteral("تدربت على ") + after);
    if (road != "leave") {
        QCOMPARE(p.SampleN[1]->accessibleDescription(), QStringLiteral("المثال ١") + count + "، تم التدرب مرة واحدة");
        QVERIFY(p.SampleN[1]->cornerMark());
        QCOMPARE(p.SampleN[2]->accessibleDescription(), QStringLiteral("المثال ٢") + count);
        QVERIFY(!p.SampleN[2]->cornerMark());
        // The next take keeps the first in the history, and both count.
        p.Arec->press();
        p.Astop->press();
        QCOMPARE(p.SampleN[1]->accessibleDescription(), QStringLiteral("المثال ١") + count + "، تم التدرب مرتين");
        QCOMPARE(lessonLink->note(), after);
    }
    // The links serve every chapter: a lesson without examples shows no share
    // left over from the one its link showed before.
    w.menu->ChapterClick(2);
    QCOMPARE(w.menuControls.Alink[1]->note(), QString());
    QCOMPARE(w.menuControls.Alink[1]->accessibleDescription(), QString());
}

// The panel's controls are made after the window is on screen, where a new
// child stays hidden until shown: made on the first lesson's click or once the
// first page is up, the lesson must show the same panel. The sound library
// loads on the same roads; a click that comes first loads it and goes on, and
// without it the window works on, silent, and says so once.
void TestPageWindow::examplesPanelMadeWhenNeeded_data()
{
    QTest::addColumn<bool>("waitForIdle");
    // fakes: every sound part handed in; library: the reciter's player from the
    // built sound library; missing: no library where it is looked for; not a
    // plugin: a file of the library's name that Qt's loader refuses.
    QTest::addColumn<QString>("sound");
    QTest::newRow("on the first lesson") << false << "fakes";
    QTest::newRow("once the first page is up") << true << "fakes";
    QTest::newRow("sound library loaded by the first lesson") << false << "library";
    QTest::newRow("sound library missing") << true << "missing";
    QTest::newRow("sound library not a plugin") << true << "not a plugin";
}

void TestPageWindow::examplesPanelMadeWhenNeeded()
{
    QFETCH(bool, waitForIdle);
    QFETCH(QString, sound);
    LinkedCourse course;
    for (const char *name : { "1-1-1", "1-1-2" })
        write(course.dir.filePath("data/text/%1.txt").arg(QLatin1String(name)), "text");
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakeWaveAudio audio;
    FakeWaveInput input;
    SilentSound silent;
    SoundLibrary library;
    QTemporaryDir nowhere;
    Platform platform;
    platform.messages = &messages;
    SoundModule *below = &silent;
    if (sound == "library") {
        below = library.Load({ QStringLiteral(RATTIL_APP_DIR) });
        QVERIFY2(below, qPrintable(library.Error()));
    }
    FakeSoundModule fakes(*below);
    fakes.mixer = &mixer;
    fakes.audio = &audio;
    fakes.input = &input;
    if (sound == "fakes")
        fakes.player = &player;
    const bool silentRoad = sound == "missing" || sound == "not a plugin";
    if (!silentRoad) {
        platform.sound = &fakes;
    } else {
        if (sound == "not a plugin")
            write(nowhere.filePath(QStringLiteral("rattil-sound.so")), "no library");
        platform.soundFolders = { nowhere.path() };
        // Said on the terminal with the loader's own reason.
        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression("sound library could not be loaded: .*rattil-sound\\.so"));
    }
    MainWindow w(course.dir.path(), platform);
    w.Load();
    QSignalSpy said(w.m_statusLine, &StatusLine::Announced);
    // The first page waits for none of it.
    QVERIFY(!w.practice && !w.practiceControls.Arec);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (waitForIdle)
        QTRY_VERIFY(w.practice);
    w.menu->ChapterClick(1);
    w.menu->LessonClick(1);
    QTRY_VERIFY(!w.RTF->Busy());
    QVERIFY(w.practice && w.practice->PanelOpen());
    const PracticeControls &p = w.practiceControls;
    const QList<QWidget *> shown { p.SampleN[1], p.SampleN[2], p.ImSamplesDown, p.SampleTitle, p.Aspeed, p.Arepeat,
        p.SoundTools, p.RecBack, p.Arec, p.Aplay, p.Alisten, p.AyaText };
    for (QWidget *control : shown)
        QVERIFY2(control->isVisible(), qPrintable(control->objectName()));
    const QList<QWidget *> hidden { p.SampleN[3], p.ImSamplesUp, p.Astop, p.Apause, p.vm[1], p.AyaSample,
        &w.practice->View() };
    for (QWidget *control : hidden)
        QVERIFY2(!control->isVisible(), qPrintable(control->objectName()));
    QVERIFY(w.MP && w.waveAudio && w.waveInput && w.practice);
    const auto toldOfNoSound = [&said] {
        return std::count_if(said.cbegin(), said.cend(),
            [](const QList<QVariant> &news) { return news.at(0).toString() == SilentSound::Message; });
    };
    if (silentRoad) {
        // Told once, as the status line tells of a fault.
        QCOMPARE(toldOfNoSound(), 1);
        QCOMPARE(w.m_statusLine->text(), SilentSound::Message);
        QVERIFY(w.m_statusLine->isUrgent());
        // The parts are there and silent: another example, Listen and Record
        // do nothing harmful, and Record says why it did not start.
        p.SampleN[2]->press();
        p.Alisten->press();
        p.Arec->press();
        QVERIFY(p.Arec->isVisible());
        QVERIFY(!p.Astop->isVisible());
        // The mixer comes with the library: its absence is no second box.
        w.mixerControls.volup->press();
        QCOMPARE(messages.boxes, QStringList { SilentSound::Message });
        QCOMPARE(messages.dialogs, QStringList { Recorder::RecordFailedMessage });
        QCOMPARE(toldOfNoSound(), 1);
        return;
    }
    QCOMPARE(toldOfNoSound(), 0);
    if (sound == "library")
        QCOMPARE(QByteArray(w.MP->metaObject()->className()), QByteArray("QtMediaPlayer"));
    // And it works: the recorder records into the lesson's take.
    p.Arec->press();
    QVERIFY(p.Astop->isVisible());
    p.Astop->press();
    QVERIFY(audio.commands.contains("save capture " + w.RecDir + "1-1-1.wav"));
}

QTEST_MAIN(TestPageWindow)
#include "test_pagewindow.moc"
