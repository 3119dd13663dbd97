// SPDX-License-Identifier: GPL-3.0-or-later

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The built program on a copy of its application folder, on the test display:
// a frameless window of the design size that closes from its own exit button
// and remembers its layout value.
class TestSystemWindow final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyWayOfClosingSaves_data();
    void everyWayOfClosingSaves();

private:
    static QString run(const QString &program, const QStringList &args);
    static QString programWindow(qint64 pid);
};

QString TestSystemWindow::run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// xdotool's search by process has been seen to answer with the root window
// (1280x1024 at 0,0) while the program was starting: only a window that
// itself carries the program's process id is taken.
QString TestSystemWindow::programWindow(qint64 pid)
{
    const QString process = QString::number(pid);
    const QStringList found
        = run("xdotool", { "search", "--all", "--onlyvisible", "--pid", process, "--name", QStringLiteral("^رتّل$") })
              .split('\n', Qt::SkipEmptyParts);
    for (const QString &window : found) {
        if (run("xdotool", { "getwindowpid", window }).trimmed() == process)
            return window;
    }
    return {};
}

void TestSystemWindow::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the display that test.sh starts");
    QVERIFY2(!QStandardPaths::findExecutable("xdotool").isEmpty(), "xdotool is needed: run scripts/install-deps test");
    QVERIFY2(QFile::exists(RATTIL_APP_DIR "/rattil"), "the application folder is not built");
}

void TestSystemWindow::everyWayOfClosingSaves_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("exit button") << "button";
    QTest::newRow("popup's exit command") << "popup";
    QTest::newRow("Alt+F4") << "alt+F4";
    QTest::newRow("the session ends (SIGTERM)") << "TERM";
}

void TestSystemWindow::everyWayOfClosingSaves()
{
    QFETCH(QString, way);
    QTemporaryDir dir;
    QVERIFY(QProcess::execute("cp", { "-a", RATTIL_APP_DIR "/.", dir.path() }) == 0);
    QFile::remove(dir.filePath("savedoptions.ini"));

    QProcess app;
    auto stop = qScopeGuard([&app] {
        if (app.state() != QProcess::NotRunning) {
            app.kill();
            app.waitForFinished(3000);
        }
    });
    app.setProgram(dir.filePath("rattil"));
    // A crash on the way out shows its report (a sanitizer's) in the test's log.
    app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    app.start();
    QVERIFY(app.waitForStarted());

    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = programWindow(app.processId())).isEmpty(), 15000);
    const QString geometry = run("xdotool", { "getwindowgeometry", window });
    QVERIFY2(geometry.contains("Geometry: 786x632"), qPrintable(geometry));
    // No frame: the Motif hints (flags, functions, decorations, ...) say that
    // decorations are given, and that there are none.
    const QString hints = run("xprop", { "-id", window, "_MOTIF_WM_HINTS" });
    const QStringList fields = hints.section('=', 1).split(',', Qt::SkipEmptyParts);
    QVERIFY2(fields.size() >= 3, qPrintable(hints));
    QVERIFY2(fields.at(0).trimmed().toUInt(nullptr, 16) & 0x2, qPrintable(hints));
    QCOMPARE(fields.at(2).trimmed().toUInt(nullptr, 16), 0u);

    QTest::qWait(500);
    if (way == "button") {
        run("xdotool", { "mousemove", "--window", window, "743", "39", "click", "1" });
    } else if (way == "popup") {
        // A right press on the bare background above the page; the last command is Exit.
        run("xdotool", { "mousemove", "--window", window, "400", "53", "click", "3" });
        QTest::qWait(500);
        run("xdotool", { "key", "Up", "Return" });
    } else if (way == "alt+F4") {
        // No window manager gives the focus here: a click on the page does.
        run("xdotool", { "mousemove", "--window", window, "300", "300", "click", "1" });
        QTest::qWait(200);
        run("xdotool", { "key", "alt+F4" });
    } else {
        // A program already gone has no pid, and "kill -TERM 0" would end this
        // test's whole process group, ctest with it.
        QVERIFY2(app.processId() > 0, "the program ended before it was asked to");
        QCOMPARE(QProcess::execute("kill", { "-TERM", QString::number(app.processId()) }), 0);
    }
    QVERIFY2(app.waitForFinished(10000), "the program did not close");
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(app.exitCode(), 0);
    QFile saved(dir.filePath("savedoptions.ini"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray(" 450 \r\n"));
}

QTEST_GUILESS_MAIN(TestSystemWindow)
#include "test_system_window.moc"
