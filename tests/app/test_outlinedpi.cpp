// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "../support/fakesoundmodule.h"

#include "app/mainwindow.h"
#include "skin/formdesign.h"
#include "skin/msgform.h"
#include "skin/windowshapes.h"
#include "widgets/activelink.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// Run once per screen density (the test registration sets the DPI): a "large
// text" desktop must not cut the window to an outline of another size.
class TestOutlineDpi final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void outlineFitsTheWindow_data();
    void outlineFitsTheWindow();
    void textFitsItsPictures_data();
    void textFitsItsPictures();
};

void TestOutlineDpi::initTestCase()
{
    // The environment must really have given the screen its density, or the
    // rows below would prove nothing.
    const int expected = qEnvironmentVariableIntValue("RATTIL_EXPECT_TWIPS");
    QVERIFY(expected > 0);
    QCOMPARE(ScreenTwipsPerPixel(QGuiApplication::primaryScreen()), expected);
}

void TestOutlineDpi::outlineFitsTheWindow_data()
{
    QTest::addColumn<bool>("mainWindow");
    QTest::newRow("main window") << true;
    QTest::newRow("message dialog") << false;
}

void TestOutlineDpi::outlineFitsTheWindow()
{
    QFETCH(bool, mainWindow);
    QTemporaryDir dir;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    std::unique_ptr<QWidget> window;
    QList<QPoint> inside;
    if (mainWindow) {
        auto *w = new MainWindow(dir.path(), platformFakes);
        w->Load();
        window.reset(w);
        inside = { FormDesign::ExitCentre, FormDesign::MinimizeCentre, QPoint(400, 300) };
    } else {
        auto *form = new MsgForm(dir.path() + QStringLiteral("/"), QStringLiteral("نص"));
        window.reset(form);
        inside = { form->OKb()->geometry().center(), form->rect().center() };
    }
    const QRegion mask = window->mask();
    QVERIFY(!mask.isEmpty());
    // The design's shapes reach a few pixels past the window's edges here and
    // there; an outline at the screen's density would miss them by a fifth or more.
    const QRect bound = mask.boundingRect();
    const QRect r = window->rect();
    const auto near = [](int a, int b) { return qAbs(a - b) <= 4; };
    QVERIFY2(near(bound.left(), r.left()) && near(bound.top(), r.top()) && near(bound.right(), r.right())
            && near(bound.bottom(), r.bottom()),
        qPrintable(QStringLiteral("outline %1,%2 %3x%4")
                       .arg(bound.x())
                       .arg(bound.y())
                       .arg(bound.width())
                       .arg(bound.height())));
    for (const QPoint &p : std::as_const(inside))
        QVERIFY2(mask.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // The rounded corners stay rounded.
    QVERIFY(!mask.contains(QPoint(0, 0)));
}

void TestOutlineDpi::textFitsItsPictures_data()
{
    QTest::addColumn<bool>("chapters");
    QTest::newRow("chapter titles") << true;
    QTest::newRow("lesson links") << false;
}

// The menu's words sit on pictures drawn for the design's pixels; a desktop
// with larger text must not make them wrap or spill over their pictures.
void TestOutlineDpi::textFitsItsPictures()
{
    QFETCH(bool, chapters);
    QTemporaryDir dir;
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    FakePlatform platformFakes(&player, &messages, &mixer);
    MainWindow w(QStringLiteral(RATTIL_APP_DIR), platformFakes);
    w.SetLearnerFolders(dir.path(), dir.path());
    w.Load();
    const MenuControls &m = w.menuControls;
    int checked = 0;
    for (int i = 1; i <= MenuControls::ChapterItems && m.ImenuL[i]->isVisibleTo(&w); ++i) {
        if (chapters) {
            ++checked;
            QVERIFY2(m.ImenuL[i]->height() <= m.Imenu[i]->height(),
                qPrintable(QStringLiteral("%1: %2 px of text on a %3 px picture")
                               .arg(m.ImenuL[i]->caption())
                               .arg(m.ImenuL[i]->height())
                               .arg(m.Imenu[i]->height())));
            continue;
        }
        m.ImenuL[i]->press();
        for (int k = 1; k <= MenuControls::LessonLinks && m.Alink[k]->isVisibleTo(&w); ++k) {
            ++checked;
            const ActiveLink *link = m.Alink[k];
            const int width = QFontMetrics(link->textFont()).horizontalAdvance(link->caption());
            QVERIFY2(width <= link->width(),
                qPrintable(QStringLiteral("%1: %2 px of text on a %3 px picture")
                               .arg(link->caption())
                               .arg(width)
                               .arg(link->width())));
        }
        m.ImenuL[i]->press();
    }
    QVERIFY(checked > 3);
}

QTEST_MAIN(TestOutlineDpi)
#include "test_outlinedpi.moc"
