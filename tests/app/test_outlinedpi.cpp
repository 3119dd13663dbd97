#include "../support/fakemixer.h"
#include "../support/fakes.h"

#include "app/mainwindow.h"
#include "components/activelink.h"
#include "skin/formdesign.h"
#include "skin/msgform.h"
#include "skin/windowshapes.h"

#include <QGuiApplication>
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
    std::unique_ptr<QWidget> window;
    QList<QPoint> inside;
    if (mainWindow) {
        auto *w = new MainWindow(dir.path(), { &player, nullptr, &messages, &mixer });
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

QTEST_MAIN(TestOutlineDpi)
#include "test_outlinedpi.moc"
