// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "../support/fakesoundmodule.h"
#include "../support/testfiles.h"
#include "app/mainwindow.h"
#include "content/lessonpages.h"
#include "layout/panelayout.h"
#include "practice/examplespanel.h"
#include "practice/practicesession.h"
#include "widgets/activelink.h"

#include <QDirIterator>
#include <QLabel>
#include <QStringEncoder>
#include <QtTest>

namespace {

constexpr int PaneTop = 63;
constexpr int PaneGap = 10;
constexpr int BarBottom = 575;

QByteArray cp1256(const QString &text)
{
    QStringEncoder encoder("windows-1256");
    return encoder.encode(text);
}

// The demo course's skin, so that the bar, the reciter's line and the recorder
// strip have their real sizes, under a course of three lessons: one with
// examples, an index lesson of four entries (the second and fourth with
// examples) and one without examples.
struct BoundsCourse
{
    QTemporaryDir dir;
    explicit BoundsCourse(const QByteArray &savedOptions)
    {
        const QString skin = QStringLiteral(RATTIL_APP_DIR "/Images");
        QDirIterator it(skin, QDir::Files);
        while (it.hasNext()) {
            it.next();
            QDir().mkpath(dir.filePath("Images"));
            QFile::copy(it.filePath(), dir.filePath("Images/" + it.fileName()));
        }
        QFile::copy(QStringLiteral(RATTIL_APP_DIR "/config.ini"), dir.filePath("config.ini"));
        write(dir.filePath("contents.ini"),
            cp1256(QStringLiteral("@ الأول\r\n# أ*3\r\n# الفهرس*99\r\n& م*0\r\n& ن*3\r\n& س*0\r\n& ع*2\r\n# ب*0\r\n")));
        const QString html = dir.filePath("data/html/");
        write(html + "nofile.htm", "<html><body>missing</body></html>");
        for (const char *page : { "Ch1-1.htm", "Ch1-3.htm", "Ch1-2-1.htm", "Ch1-2-2.htm" })
            write(html + page, "<html dir=\"rtl\"><body><p>page</p></body></html>");
        if (!savedOptions.isNull())
            write(dir.filePath("savedoptions.ini"), savedOptions);
    }
};

} // namespace

// Wherever the examples bar was remembered, whatever the page, every part of
// the window's left side can still be reached.
class TestPaneBounds final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyPartStaysReachable_data();
    void everyPartStaysReachable();
};

void TestPaneBounds::initTestCase()
{
    if (!QFile::exists(QStringLiteral(RATTIL_APP_DIR "/Images/SamplesBar.jpg")))
        QSKIP("needs the assembled demo course's skin");
}

void TestPaneBounds::everyPartStaysReachable_data()
{
    QTest::addColumn<QByteArray>("saved"); // savedoptions.ini
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("drag"); // the splitter dragged this far, once the view shows

    const QList<QPair<const char *, QByteArray>> saved = {
        { "garbage", "abc\r\n" },
        { "0", " 0 \r\n" },
        { "negative", "-50 \r\n" },
        { "above the window", " 3000 \r\n" },
        { "300", " 300 \r\n" },
        // Room for the pane on a lesson's page, not under an entry's title bar.
        { "150", " 150 \r\n" },
    };
    const QStringList views = { "page, open", "page, shut", "index list", "entry, open", "entry, shut" };
    for (const auto &s : saved) {
        for (const QString &v : views)
            QTest::addRow("%s, %s", s.first, qPrintable(v)) << s.second << v << 0;
    }
    QTest::newRow("page, dragged far down") << QByteArray(" 450 \r\n") << "page, open" << 1000;
    QTest::newRow("page, dragged far up") << QByteArray(" 450 \r\n") << "page, open" << -1000;
    QTest::newRow("entry, dragged far up") << QByteArray(" 450 \r\n") << "entry, open" << -1000;
    QTest::newRow("entry, dragged far down") << QByteArray(" 450 \r\n") << "entry, open" << 1000;
}

void TestPaneBounds::everyPartStaysReachable()
{
    QFETCH(QByteArray, saved);
    QFETCH(QString, view);
    QFETCH(int, drag);

    BoundsCourse course(saved);
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(course.dir.path(), platformFakes);
    w.Load();
    w.show();
    const ScrollBarControls &bar = w.scrollBarControls;
    const int scrollBarHeight = bar.ScrollUp->height() + bar.scrollpos->height() + bar.ScrollDown->height();
    const int highest = PaneTop + scrollBarHeight + PaneGap;
    QVERIFY2(w.settings.SplitterTop >= highest, qPrintable(QString::number(w.settings.SplitterTop)));
    QVERIFY2(w.settings.SplitterTop < BarBottom, qPrintable(QString::number(w.settings.SplitterTop)));

    // Each view is reached from a lesson whose panel is open, as a learner would.
    w.menu->ChapterClick(1);
    w.menu->LessonClick(1);
    QVERIFY(w.practice->PanelOpen());
    if (view == "page, shut") {
        w.menu->LessonClick(3);
    } else if (view != "page, open") {
        w.menu->LessonClick(2);
        if (view == "entry, open")
            w.pages->OpenEntry(1);
        else if (view == "entry, shut")
            w.pages->OpenEntry(0);
    }
    if (drag != 0) {
        w.paneLayout->SplitterPress();
        w.paneLayout->SplitterMove(drag);
        w.paneLayout->SplitterRelease();
    }

    QWidget *frameBar = w.paneControls.FrameBar;
    QWidget *samples = w.paneControls.Samples;
    const PracticeControls &p = w.practiceControls;
    const bool open = view.endsWith("open");
    QCOMPARE(w.practice->PanelOpen(), open);
    if (!open)
        QCOMPARE(frameBar->y(), int(w.paneLayout->PanelClosedTop()));

    if (view == "index list") {
        QWidget *frame = w.pageControls.BabFrame;
        QVERIFY(frame->isVisible());
        QVERIFY(!w.RTFP->isVisible());
        QCOMPARE(frame->y() + frame->height() + PaneGap, frameBar->y());
        for (int i = 0; i < PageControls::EntryLinks; ++i) {
            ActiveLink *link = w.pageControls.Lien[i];
            QVERIFY2(link->isVisible(), qPrintable(QString::number(i)));
            QVERIFY2(link->y() + link->height() <= frame->height(), qPrintable(QString::number(i)));
        }
    } else {
        // The pane below the page's title bar, if any, tall enough for its own
        // scroll bar the right way up, and the examples bar under it.
        QVERIFY(w.RTFP->isVisible());
        int paneTop = PaneTop;
        if (view.startsWith("entry")) {
            QWidget *title = w.pageControls.BabFrame;
            paneTop = title->y() + title->height() + 1;
        }
        QCOMPARE(w.RTFP->y(), paneTop);
        QVERIFY2(w.RTFP->height() >= scrollBarHeight, qPrintable(QString::number(w.RTFP->height())));
        QCOMPARE(frameBar->y(), w.RTFP->y() + w.RTFP->height() + PaneGap);
        QVERIFY(bar.ScrollUp->y() + bar.ScrollUp->height() + bar.scrollpos->height() <= bar.ScrollDown->y());
        QVERIFY(bar.ScrollUp->y() >= paneTop);
    }

    if (open) {
        // The example buttons under the pane, the recorder strip whole above the
        // volume row.
        const int button = p.SampleN[1]->mapTo(&w, QPoint(0, 0)).y();
        QVERIFY2(button >= w.RTFP->y() + w.RTFP->height(), qPrintable(QString::number(button)));
        QVERIFY(samples->isVisible());
        QVERIFY2(samples->y() >= frameBar->y() + p.SampleTitle->y() + p.SampleTitle->height(),
            qPrintable(QString::number(samples->y())));
        QVERIFY2(samples->height() >= p.SoundTools->height(), qPrintable(QString::number(samples->height())));
        QVERIFY(samples->y() + samples->height() <= BarBottom);
        QVERIFY(p.SoundTools->y() >= 0 && p.SoundTools->y() + p.SoundTools->height() <= samples->height());
    }

    // What is written back at exit is a place the next start can use as it is.
    w.close();
    QFile options(course.dir.filePath("savedoptions.ini"));
    QVERIFY(options.open(QIODevice::ReadOnly));
    const int written = options.readAll().trimmed().toInt();
    QVERIFY2(written >= highest && written < BarBottom, qPrintable(QString::number(written)));
}

QTEST_MAIN(TestPaneBounds)
#include "test_panebounds.moc"
