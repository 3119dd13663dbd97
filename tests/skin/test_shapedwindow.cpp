// SPDX-License-Identifier: GPL-3.0-or-later

// On a real X server: the shaped windows' outlines as the server holds them, and
// what a pointer does over them. Skipped without a display; needs no window
// manager (and is written for none: windows sit where they are put).
#include "skin/msgform.h"
#include "skin/windowshapes.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QRegion serverShape(WId window, const char *kind)
{
    QProcess script;
    script.start(QStringLiteral("/usr/bin/python3"),
        { QStringLiteral(RATTIL_SOURCE_DIR "/tests/skin/xshape.py"), QString::number(window),
            QString::fromLatin1(kind) });
    if (!script.waitForFinished(10000) || script.exitCode() != 0) {
        qWarning() << script.readAllStandardError();
        return QRegion(QRect(-1000, -1000, 1, 1)); // matches no outline
    }
    QRegion region;
    const QStringList lines
        = QString::fromLatin1(script.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        if (f.size() == 4)
            region += QRect(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt());
    }
    return region;
}

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// Counts the presses that reach a window, and where.
class PressCounter final : public QObject
{
public:
    int presses = 0;
    QPoint lastGlobal;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            ++presses;
            lastGlobal = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        }
        return false;
    }
};

} // namespace

class TestShapedWindow final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void serverHoldsTheOutline_data();
    void serverHoldsTheOutline();
    void pointerOverTheDialog();

private:
    QTemporaryDir m_skin;
};

void TestShapedWindow::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display");
    QVERIFY2(
        QProcess::execute(QStringLiteral("/usr/bin/python3"), { QStringLiteral("-c"), QStringLiteral("import Xlib") })
            == 0,
        "python3-xlib is missing: run scripts/install-deps test");
    QImage button(28, 27, QImage::Format_RGB32);
    button.fill(Qt::darkGreen);
    QVERIFY(button.save(m_skin.filePath(QStringLiteral("msgok.jpg"))));
    QVERIFY(button.save(m_skin.filePath(QStringLiteral("msgokover.jpg"))));
}

void TestShapedWindow::serverHoldsTheOutline_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::newRow("main window") << false;
    QTest::newRow("message dialog") << true;
}

void TestShapedWindow::serverHoldsTheOutline()
{
    QFETCH(bool, dialog);
    QWidget main(nullptr, Qt::FramelessWindowHint);
    main.setFixedSize(786, 632);
    ApplyOutline(&main, BuildOutline(MainWindowShapes(), 1, 1, 0, 0));
    MsgForm form(m_skin.path() + QLatin1Char('/'), QStringLiteral("نص"));
    QWidget *window = dialog ? static_cast<QWidget *>(&form) : &main;
    window->move(20, 20);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    const QRect client(QPoint(0, 0), window->size());
    const QRegion expected
        = BuildOutline(dialog ? MsgFormShapes() : MainWindowShapes(), 1, 1, 0, 0).intersected(client);
    QVERIFY(!expected.isEmpty());
    const QRegion bounding = serverShape(window->winId(), "bounding").intersected(client);
    QCOMPARE(bounding, expected);
}

void TestShapedWindow::pointerOverTheDialog()
{
    QWidget backdrop(nullptr, Qt::FramelessWindowHint);
    backdrop.setGeometry(0, 0, 600, 500);
    PressCounter behind;
    backdrop.installEventFilter(&behind);
    backdrop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&backdrop));

    MsgForm form(m_skin.path() + QLatin1Char('/'), QStringLiteral("نص"));
    PressCounter onCard;
    form.installEventFilter(&onCard);
    form.move(100, 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.pos(), QPoint(100, 100));

    // The cut-off top-left corner of the card lets the press through.
    QVERIFY(xdotool({ QStringLiteral("mousemove"), QStringLiteral("103"), QStringLiteral("103"),
        QStringLiteral("click"), QStringLiteral("1") }));
    QTRY_COMPARE(behind.presses, 1);
    QCOMPARE(behind.lastGlobal, QPoint(103, 103));
    QCOMPARE(onCard.presses, 0);

    // A press on the card, a move and a release drag the dialog, window manager or not.
    QVERIFY(xdotool({ QStringLiteral("mousemove"), QStringLiteral("220"), QStringLiteral("235"),
        QStringLiteral("mousedown"), QStringLiteral("1") }));
    QTRY_COMPARE(onCard.presses, 1);
    QVERIFY(xdotool({ QStringLiteral("mousemove"), QStringLiteral("240"), QStringLiteral("250") }));
    QVERIFY(xdotool({ QStringLiteral("mousemove"), QStringLiteral("260"), QStringLiteral("265") }));
    QTRY_COMPARE(form.pos(), QPoint(140, 130));
    QVERIFY(xdotool({ QStringLiteral("mouseup"), QStringLiteral("1") }));
    QVERIFY(xdotool({ QStringLiteral("mousemove"), QStringLiteral("300"), QStringLiteral("300") }));
    QTest::qWait(200);
    QCOMPARE(form.pos(), QPoint(140, 130));
    QCOMPARE(behind.presses, 1);
}

int main(int argc, char **argv)
{
    // Without a display the test still runs, to report itself skipped.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestShapedWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_shapedwindow.moc"
