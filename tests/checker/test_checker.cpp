// SPDX-License-Identifier: GPL-3.0-or-later

// rattil-check on the demo course and on copies of it broken one way each: the
// author must get the one line that names the fault, and the right exit code.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kApp = QStringLiteral(RATTIL_APP_DIR);
const QString kChecker = kApp + QStringLiteral("/rattil-check");
const QRegularExpression kSummary(QStringLiteral("^\\d+ errors, \\d+ warnings in \\d+ files$"));

struct Run
{
    int exitCode = -1;
    QStringList lines; // stdout
};

Run check(const QStringList &arguments, const QStringList &environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    for (const QString &setting : environment)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(kChecker, arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else if (!QFile::copy(source, target)) {
            return false;
        }
    }
    return true;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// One way of breaking a course: "rm:PATH", "rmdir:PATH", "mv:FROM=>TO",
// "write:PATH=>BYTES", "edit:PATH:OLD=>NEW" (bytes, %XX escapes allowed),
// "edit1256:PATH:OLD=>NEW" (text of a Windows-1256 file), "utf8:PATH" (rewrite a
// Windows-1256 file in UTF-8), "image:PATH:WxH".
QString apply(const QString &root, const QString &operation)
{
    const QString verb = operation.section(QLatin1Char(':'), 0, 0);
    const QString rest = operation.section(QLatin1Char(':'), 1);
    const auto at = [&](const QString &path) { return root + QLatin1Char('/') + path; };
    const auto bytes = [](const QString &s) { return QByteArray::fromPercentEncoding(s.toUtf8()); };
    if (verb == QLatin1String("rm"))
        return QFile::remove(at(rest)) ? QString() : operation;
    if (verb == QLatin1String("rmdir"))
        return QDir(at(rest)).removeRecursively() ? QString() : operation;
    if (verb == QLatin1String("mv"))
        return QFile::rename(at(rest.section(QStringLiteral("=>"), 0, 0)), at(rest.section(QStringLiteral("=>"), 1)))
            ? QString()
            : operation;
    if (verb == QLatin1String("write"))
        return writeAll(at(rest.section(QStringLiteral("=>"), 0, 0)), bytes(rest.section(QStringLiteral("=>"), 1)))
            ? QString()
            : operation;
    if (verb == QLatin1String("image")) {
        const QString size = rest.section(QLatin1Char(':'), 1);
        QImage image(size.section(QLatin1Char('x'), 0, 0).toInt(), size.section(QLatin1Char('x'), 1).toInt(),
            QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        return image.save(at(rest.section(QLatin1Char(':'), 0, 0))) ? QString() : operation;
    }
    const QString path = at(rest.section(QLatin1Char(':'), 0, 0));
    QByteArray content = readAll(path);
    if (verb == QLatin1String("utf8"))
        return writeAll(at(rest), QStringDecoder("windows-1256").decode(readAll(at(rest))).operator QString().toUtf8())
            ? QString()
            : operation;
    const QString change = rest.section(QLatin1Char(':'), 1);
    const QString from = change.section(QStringLiteral("=>"), 0, 0);
    const QString to = change.section(QStringLiteral("=>"), 1);
    if (verb == QLatin1String("edit")) {
        if (!content.contains(bytes(from)))
            return operation;
        content.replace(bytes(from), bytes(to));
    } else if (verb == QLatin1String("edit1256")) {
        QString text = QStringDecoder("windows-1256").decode(content);
        if (!text.contains(from))
            return operation;
        text.replace(from, QString(to).replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n")));
        content = QStringEncoder("windows-1256").encode(text);
    } else {
        return operation;
    }
    return writeAll(path, content) ? QString() : operation;
}

} // namespace

class TestChecker final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void demoCourseIsClean();
    void brokenCopy_data();
    void brokenCopy();
    void jsonParses();
    void importSegments_data();
    void importSegments();
    void arabicWhenTheLocaleIsArabic();
    void noSuchFolder();
};

void TestChecker::initTestCase()
{
    QVERIFY2(QFileInfo(kChecker).isExecutable(), qPrintable(kChecker));
}

void TestChecker::demoCourseIsClean()
{
    const Run run = check({ QStringLiteral("--strict"), kApp });
    QVERIFY2(run.exitCode == 0, qPrintable(run.lines.join(QLatin1Char('\n'))));
    QCOMPARE(run.lines.size(), 1);
    QVERIFY2(kSummary.match(run.lines.constLast()).hasMatch(), qPrintable(run.lines.constLast()));
    QVERIFY(run.lines.constLast().startsWith(QLatin1String("0 errors, 0 warnings in ")));
}

void TestChecker::brokenCopy_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QString>("expected"); // the one line, as a pattern; empty: no line at all
    QTest::addColumn<int>("exitCode");

    const auto row = [](const char *name, const QStringList &operations, const QString &expected, int exitCode) {
        QTest::newRow(name) << operations << expected << exitCode;
    };
    // contents.ini
    row("contents.ini missing", { "rm:contents.ini" }, "contents.ini: error: missing: .*empty menu", 1);
    row("contents.ini in UTF-8", { "utf8:contents.ini" }, "contents.ini: error: is UTF-8, not Windows-1256.*", 1);
    row("a line that is not read", { "edit1256:contents.ini:; Lines that start=>Lines that start" },
        "contents.ini:2: warning: not read: .*", 0);
    row("a line that starts with a blank", { "edit1256:contents.ini:; Lines that start=> # Lines that start" },
        "contents.ini:2: warning: starts with a blank.*", 0);
    row("a number that is not a number", { "edit1256:contents.ini:وحكمه*0=>وحكمه*none" },
        "contents.ini:4: error: \"none\" is not a whole number.*", 1);
    row("a lesson without a number", { "edit1256:contents.ini:وحكمه*0=>وحكمه" },
        "contents.ini:4: warning: no \"\\*\" and number.*", 0);
    row("more examples than buttons", { "edit1256:contents.ini:الإدغام*13=>الإدغام*14" },
        "contents.ini:13: error: 14 examples, but the panel has 13 buttons.*", 1);
    row("a negative count", { "edit1256:contents.ini:وحكمه*0=>وحكمه*-2" },
        "contents.ini:4: error: the number -2 is negative.*", 1);
    row("a tenth chapter",
        { "edit1256:contents.ini:# المد اللازم*3=># المد اللازم*3\\r\\n@ 6\\r\\n@ 7\\r\\n@ 8\\r\\n@ 9\\r\\n@ 10" },
        "contents.ini:32: error: chapter 10 is beyond the 9 chapters the menu shows.*", 1);
    row("a fifth entry", { "edit1256:contents.ini:& الشفتان*2=>& الشفتان*2\\r\\n& زائد*0" },
        "contents.ini:11: error: entry 5 is beyond the 4 entries an index lesson shows.*", 1);
    row("an entry under an ordinary lesson", { "edit1256:contents.ini:# الإقلاب*4=># الإقلاب*4\\r\\n& مدخل*0" },
        "contents.ini:15: warning: entry under lesson 3 of chapter 2, which is not an index lesson.*", 0);
    // pages
    row("a lesson page missing", { "rm:data/html/Ch2-3.htm" }, "data/html/Ch2-3.htm: error: missing: .*nofile.htm.*",
        1);
    row("a page named in the wrong case", { "mv:data/html/Ch2-3.htm=>data/html/ch2-3.htm" },
        "data/html/Ch2-3.htm: error: missing: .*there is a file ch2-3.htm.*letter case.*", 1);
    row("an entry page missing", { "rm:data/html/Ch1-3-2.htm" }, "data/html/Ch1-3-2.htm: error: missing: .*", 1);
    row("first.htm missing", { "rm:data/html/first.htm" }, "data/html/first.htm: error: missing: .*nofile.htm.*", 1);
    row("a page picture missing", { "edit:data/html/about.htm:</body>=><img src=\"seal.png\"></body>" },
        "data/html/about.htm: error: the picture seal.png is missing", 1);
    row("a page background that is missing", { "edit:data/html/help.htm:<body =><body background='paper.jpg' " },
        "data/html/help.htm: error: the picture paper.jpg is missing", 1);
    row("a page link that leads nowhere", { "edit:data/html/about.htm:</body>=><a href=\"gone.htm\">x</a></body>" },
        "data/html/about.htm: error: the link to gone.htm leads nowhere.*", 1);
    row("a page not valid in its charset", { "edit:data/html/Ch1-2.htm:</body>=>%FF%FE</body>" },
        "data/html/Ch1-2.htm: error: is not valid UTF-8, the charset it declares.*", 1);
    // examples
    row("no title and no picture", { "rm:data/images/4-1-1.gif" },
        "data/examples/4-1-1.mp3: error: has no title tag and example 1 of .* has no picture .*", 1);
    row("neither sound nor text", { "rm:data/text/3-2-1.txt" },
        "data/examples/3-2-1.mp3: error: example 1 of .* has neither this sound nor its text data/text/3-2-1.txt.*", 1);
    row("a sound that does not decode", { "write:data/examples/2-1-1.mp3=>not a sound" },
        "data/examples/2-1-1.mp3: error: cannot be decoded or reports no duration.*", 1);
    row("a text file in UTF-8", { "utf8:data/text/3-2-1.txt" },
        "data/text/3-2-1.txt: error: is UTF-8, not Windows-1256.*", 1);
    row("an example picture that does not load", { "write:data/images/4-1-1.gif=>GIF89a broken" },
        "data/images/4-1-1.gif: error: cannot be read as a picture.*", 1);
    row("start.mp3 that does not decode", { "write:start.mp3=>ID3" },
        "start.mp3: error: cannot be decoded or reports no duration.*", 1);
    // word times and rule spans beside the examples
    row("words of a picture that end before they start",
        { "write:data/examples/1-3-3-1.words=>0.5%091.0%09a%0A1.2%091.1%09b%0A" },
        "data/examples/1-3-3-1.words:2: error: ends at 1.100 s, not after it starts at 1.200 s", 1);
    row("a word past the end of the sound", { "write:data/examples/1-3-3-1.words=>0.5%0999%09a%0A" },
        "data/examples/1-3-3-1.words:1: error: ends at 99.000 s, past the end of the sound at [0-9.]+ s", 1);
    row("words that miss words of the text", { "write:data/examples/1-3-1-1.words=>0.1%090.2%09x%0A" },
        "data/examples/1-3-1-1.words: error: has 1 words; the example's text has \\d+", 1);
    row("a rule span outside the words",
        { "write:data/examples/1-3-3-1.words=>0.5%091.0%09a%0A",
            "write:data/examples/1-3-3-1.rules=>0.2%090.8%09مد|2%0A" },
        "data/examples/1-3-3-1.rules:1: error: lies outside the words .*", 1);
    row("word times of no example", { "write:data/examples/9-9-9.words=>0.5%091.0%09a%0A" },
        "data/examples/9-9-9.words: warning: nothing in the course refers to this file", 0);
    // the skin
    row("a skin file missing", { "rm:Images/Exit.jpg" }, "Images/Exit.jpg: error: missing: .*", 1);
    row("a skin file in another case", { "mv:Images/Exit.jpg=>Images/EXIT.JPG" }, QString(), 0);
    row("main.jpg of the wrong size", { "image:Images/main.jpg:640x480" },
        "Images/main.jpg: error: is 640 x 480 pixels; the window is 786 x 632", 1);
    row("an unreadable cursor", { "write:Images/HandCursor.cur=>%00%00%02%00%01%00junk" },
        "Images/HandCursor.cur: error: is not a cursor file the program can read.*", 1);
    // config.ini
    row("a step that is not a number", { "edit:config.ini:SlideStep=4=>SlideStep=four" },
        "config.ini:2: error: SlideStep: \"four\" is not a whole number.*", 1);
    row("a colour that is not a colour", { "edit:config.ini:MenuBackColor=14479350=>MenuBackColor=parchment" },
        "config.ini:1: error: MenuBackColor: \"parchment\" is not a colour.*", 1);
    row("a font the system lacks", { "edit:config.ini:ChapterFont=Amiri=>ChapterFont=No Such Face" },
        "config.ini:5: warning: ChapterFont: no installed font is called \"No Such Face\"; the text is drawn in .*", 0);
    row("config.ini too short", { "edit:config.ini:SampleTitleColor=2912142%0D%0A=>" },
        "config.ini: warning: has 20 lines; the program reads 21 by position.*", 0);
    // the folder
    row("a file nothing refers to", { "write:data/images/spare.gif=>GIF89a" },
        "data/images/spare.gif: warning: nothing in the course refers to this file", 0);
    row("rec is a file", { "rmdir:rec", "write:rec=>x" }, "rec: error: is a file, not a folder.*", 1);
    row("rec missing is fine: the program creates it", { "rmdir:rec" }, QString(), 0);
}

void TestChecker::brokenCopy()
{
    QFETCH(QStringList, operations);
    QFETCH(QString, expected);
    QFETCH(int, exitCode);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString course = dir.path() + QStringLiteral("/course");
    QVERIFY(copyTree(kApp, course));
    for (const QString &operation : std::as_const(operations)) {
        const QString failed = apply(course, operation);
        QVERIFY2(failed.isEmpty(), qPrintable(QStringLiteral("could not apply ") + failed));
    }

    const Run run = check({ course });
    const QString output = run.lines.join(QLatin1Char('\n'));
    QVERIFY2(!run.lines.isEmpty() && kSummary.match(run.lines.constLast()).hasMatch(), qPrintable(output));
    const QStringList findings = run.lines.mid(0, run.lines.size() - 1);
    if (expected.isEmpty()) {
        QVERIFY2(findings.isEmpty(), qPrintable(output));
    } else {
        QCOMPARE(findings.size(), 1);
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(expected));
        QVERIFY2(pattern.match(findings.constFirst()).hasMatch(), qPrintable(findings.constFirst()));
    }
    QCOMPARE(run.exitCode, exitCode);
    // Warnings fail a strict check; a clean course passes it.
    const Run strict = check({ QStringLiteral("--strict"), course });
    QCOMPARE(strict.exitCode, expected.isEmpty() ? 0 : 1);
}

// Word timings from the segments form become .words files the check accepts,
// or are refused whole, with the reason, and nothing written.
void TestChecker::importSegments_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("existing"); // a .words file there already
    QTest::addColumn<bool>("force");
    QTest::addColumn<QString>("expected"); // the first line, as a pattern
    QTest::addColumn<int>("exitCode");
    const QByteArray six = "[[1,100,400],[2,400,900],[3,900,1200],[4,1200,1600],[5,1600,1900],[6,1900,2300]]";
    QTest::newRow("every word timed") << QByteArray("{\"2-1-2\": " + six + "}") << false << false
                                      << "data/examples/2-1-2.words: written" << 0;
    QTest::newRow("a word missing") << QByteArray(
        "{\"2-1-2\": [[1,100,400],[2,400,900],[4,1200,1600],[5,1600,1900],[6,1900,2300]]}")
                                    << false << false << ".*: error: \"2-1-2\": word 3 \\(\".+\"\\) has no times" << 1;
    QTest::newRow("a word twice") << QByteArray("{\"2-1-2\": [[1,100,400],[1,400,900]]}") << false << false
                                  << ".*: error: \"2-1-2\": word 1 is given twice" << 1;
    QTest::newRow("words out of order in time")
        << QByteArray("{\"2-1-2\": [[1,100,400],[2,300,900],[3,900,1200],[4,1200,1600],[5,1600,1900],[6,1900,2300]]}")
        << false << false << ".*: error: \"2-1-2\": word 2: starts at 0.300 s, before the word above ends at 0.400 s"
        << 1;
    QTest::newRow("a key that names no example") << QByteArray("{\"9-9-9\": [[1,0,100]]}") << false << false
                                                 << ".*: error: \"9-9-9\" names no example of the course" << 1;
    QTest::newRow("a file there already")
        << QByteArray("{\"2-1-2\": " + six + "}") << true << false
        << "data/examples/2-1-2.words: error: exists: not replaced without --force" << 1;
    QTest::newRow("a file there already, forced")
        << QByteArray("{\"2-1-2\": " + six + "}") << true << true << "data/examples/2-1-2.words: written" << 0;
    QTest::newRow("not JSON") << QByteArray("{\"2-1-2\": [") << false << false << ".*: error: is not JSON: .*" << 1;
}

void TestChecker::importSegments()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, existing);
    QFETCH(bool, force);
    QFETCH(QString, expected);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QString course = dir.path() + QStringLiteral("/course");
    QVERIFY(copyTree(kApp, course));
    const QString words = course + QStringLiteral("/data/examples/2-1-2.words");
    const QByteArray before = "0.1\t0.2\tمآ\n";
    if (existing)
        QVERIFY(writeAll(words, before));
    const QString segments = dir.path() + QStringLiteral("/segments.json");
    QVERIFY(writeAll(segments, json));

    QStringList arguments { QStringLiteral("--import-segments"), segments, course };
    if (force)
        arguments.prepend(QStringLiteral("--force"));
    const Run run = check(arguments);
    const QString output = run.lines.join(QLatin1Char('\n'));
    QVERIFY2(!run.lines.isEmpty(), qPrintable(output));
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected)).match(run.lines.constFirst()).hasMatch(),
        qPrintable(output));
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        // What was written is what the check accepts, word for word.
        const Run checked = check({ course });
        QVERIFY2(checked.lines.size() == 1, qPrintable(checked.lines.join(QLatin1Char('\n'))));
        QVERIFY(readAll(words).startsWith("0.100\t0.400\t"));
    } else {
        // A refused import leaves the folder as it was.
        QCOMPARE(readAll(words), existing ? before : QByteArray());
    }
}

void TestChecker::jsonParses()
{
    QTemporaryDir dir;
    const QString course = dir.path() + QStringLiteral("/course");
    QVERIFY(copyTree(kApp, course));
    QVERIFY(apply(course, QStringLiteral("rm:Images/Exit.jpg")).isEmpty());
    QVERIFY(apply(course, QStringLiteral("write:data/images/spare.gif=>GIF89a")).isEmpty());

    const Run run = check({ QStringLiteral("--json"), course });
    QCOMPARE(run.exitCode, 1);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.lines.join(QLatin1Char('\n')).toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonObject report = document.object();
    QCOMPARE(report.value(QStringLiteral("errors")).toInt(), 1);
    QCOMPARE(report.value(QStringLiteral("warnings")).toInt(), 1);
    QVERIFY(report.value(QStringLiteral("files")).toInt() > 100);
    const QJsonArray findings = report.value(QStringLiteral("findings")).toArray();
    QCOMPARE(findings.size(), 2);
    const QJsonObject first = findings.at(0).toObject();
    QCOMPARE(first.value(QStringLiteral("path")).toString(), QStringLiteral("Images/Exit.jpg"));
    QCOMPARE(first.value(QStringLiteral("severity")).toString(), QStringLiteral("error"));
    QVERIFY(!first.value(QStringLiteral("message")).toString().isEmpty());
    QCOMPARE(findings.at(1).toObject().value(QStringLiteral("severity")).toString(), QStringLiteral("warning"));
}

void TestChecker::arabicWhenTheLocaleIsArabic()
{
    QTemporaryDir dir;
    const QString course = dir.path() + QStringLiteral("/course");
    QVERIFY(copyTree(kApp, course));
    QVERIFY(apply(course, QStringLiteral("rm:Images/Exit.jpg")).isEmpty());

    const Run english = check({ course });
    const Run arabic = check({ course }, { QStringLiteral("LANG=ar_EG.UTF-8") });
    QCOMPARE(arabic.exitCode, 1);
    QCOMPARE(arabic.lines.size(), 2);
    // Paths and the severity word stay as they are, for editors and scripts.
    QVERIFY2(arabic.lines.at(0).startsWith(QLatin1String("Images/Exit.jpg: error: ")), qPrintable(arabic.lines.at(0)));
    QVERIFY2(arabic.lines.at(0) != english.lines.at(0), qPrintable(arabic.lines.at(0)));
    const QRegularExpression arabicLetters(QStringLiteral("[\\x{0621}-\\x{064A}]"));
    QVERIFY2(arabicLetters.match(arabic.lines.at(0).mid(24)).hasMatch(), qPrintable(arabic.lines.at(0)));
    QVERIFY2(arabicLetters.match(arabic.lines.at(1)).hasMatch(), qPrintable(arabic.lines.at(1)));
    // LC_ALL outranks LANG, as everywhere else.
    const Run overridden = check({ course }, { QStringLiteral("LANG=ar_EG.UTF-8"), QStringLiteral("LC_ALL=C.UTF-8") });
    QCOMPARE(overridden.lines, english.lines);
}

void TestChecker::noSuchFolder()
{
    const Run run = check({ QStringLiteral("/nonexistent/course") });
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestChecker)
#include "test_checker.moc"
