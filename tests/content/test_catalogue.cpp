// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/catalogue.h"
#include "widgets/messagesink.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct RecordingSink final : MessageSink
{
    QStringList boxes;
    QStringList dialogs;
    void ShowMessageBox(const QString &text) override { boxes << text; }
    void ShowMsgForm(const QString &message) override { dialogs << message; }
    QStringList questions;
    bool answer = false;
    bool Confirm(const QString &question, const QString &, const QString &) override
    {
        questions << question;
        return answer;
    }
};

QByteArray cp1256(const QString &text)
{
    QStringEncoder encoder("windows-1256");
    return encoder.encode(text);
}

} // namespace

class TestCatalogue final : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data();
    void numbers();
    void lastChapterAndLessonAreCounted();
    void linesBeforeTheirParentAreKeptApart();
    void outOfBoundsReadsEmpty();
    void arabicTitlesDecodeFromCodePage();
    void missingFileShowsTheStandardBox();
    void emptyFileIsSilent();
    void garbageDoesNotCrashOrHang();
    void removeSpacesAndMaxOf();
};

// One lesson line under a chapter; what its title and number come out as.
void TestCatalogue::numbers_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("number");

    QTest::newRow("plain") << QByteArray("# First rule*4") << "First rule" << 4;
    QTest::newRow("no star") << QByteArray("# Definition") << "Definition" << 0;
    QTest::newRow("blanks inside number") << QByteArray("# Tongue* 1 2") << "Tongue" << 12;
    QTest::newRow("not a number") << QByteArray("# Odd*abc") << "Odd" << 0;
    QTest::newRow("second star ends number") << QByteArray("# T*7*99") << "T" << 7;
    QTest::newRow("blank title kept") << QByteArray("#  Two blanks *3") << " Two blanks " << 3;
    QTest::newRow("index lesson") << QByteArray("# Overview*99") << "Overview" << 99;
    QTest::newRow("too big for 16 bits") << QByteArray("# Big*40000") << "Big" << 0;
    QTest::newRow("largest 16-bit") << QByteArray("# Edge*32767") << "Edge" << 32767;
    QTest::newRow("negative") << QByteArray("# Neg*-3") << "Neg" << -3;
    QTest::newRow("tab is not a blank") << QByteArray("# Tab*1\t2") << "Tab" << 0;
    QTest::newRow("any separator") << QByteArray("#xTitle*2") << "Title" << 2;
    QTest::newRow("one character") << QByteArray("#") << "" << 0;
    QTest::newRow("two characters") << QByteArray("# ") << "" << 0;
}

void TestCatalogue::numbers()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, title);
    QFETCH(int, number);

    Catalogue cat;
    cat.LoadFromBytes("@ Chapter\r\n" + line + "\r\n");
    QCOMPARE(cat.ChapterCount(), qint16(1));
    QCOMPARE(cat.LessonCount(1), qint16(1));
    QCOMPARE(cat.LessonTitle(1, 1), title);
    QCOMPARE(int(cat.PageExamples(1, 1, 0)), number);
}

void TestCatalogue::lastChapterAndLessonAreCounted()
{
    Catalogue cat;
    cat.LoadFromBytes("@ A\r\n# a1*1\r\n@ B\r\n# b1*99\r\n& e1*3\r\n# b2*2\r\n# b3*0\r\n@ C\r\n# c1*99\r\n"
                      "& x*1\r\n& y* 1 2\r\n& z*0");
    QCOMPARE(cat.ChapterCount(), qint16(3));
    QCOMPARE(cat.MaxLessons(), qint16(3));
    QCOMPARE(cat.MaxEntries(), qint16(3));
    QCOMPARE(cat.ChapterTitle(3), QStringLiteral("C"));
    QCOMPARE(cat.LessonCount(2), qint16(3));
    QCOMPARE(cat.LessonTitle(2, 3), QStringLiteral("b3"));
    QVERIFY(cat.IsIndexLesson(2, 1));
    QVERIFY(!cat.IsIndexLesson(2, 2));
    QCOMPARE(cat.EntryCount(3, 1), qint16(3));
    QCOMPARE(cat.EntryTitle(3, 1, 2), QStringLiteral("y"));
    QCOMPARE(cat.PageExamples(3, 1, 2), qint16(12));
    QCOMPARE(cat.EntryTitle(3, 1, 3), QStringLiteral("z"));
}

void TestCatalogue::linesBeforeTheirParentAreKeptApart()
{
    Catalogue cat;
    cat.LoadFromBytes("# orphan*5\r\n& stray*2\r\n@ One\r\n& early*1\r\n# first*3\r\n& under ordinary*4\r\n"
                      " @ not a chapter\r\n;# comment\r\nx& nothing\r\n");
    QCOMPARE(cat.ChapterCount(), qint16(1));
    // Chapter 0 and lesson 0 hold them; the shown tables start at 1.
    QCOMPARE(cat.LessonTitle(0, 1), QStringLiteral("orphan"));
    QCOMPARE(cat.EntryTitle(0, 1, 1), QStringLiteral("stray"));
    QCOMPARE(cat.EntryTitle(1, 0, 1), QStringLiteral("early"));
    QCOMPARE(cat.LessonCount(1), qint16(1));
    QCOMPARE(cat.LessonTitle(1, 1), QStringLiteral("first"));
    QCOMPARE(cat.PageExamples(1, 1, 0), qint16(3));
    // An entry under an ordinary lesson is stored all the same.
    QCOMPARE(cat.EntryCount(1, 1), qint16(1));
    QCOMPARE(cat.PageExamples(1, 1, 1), qint16(4));
}

void TestCatalogue::outOfBoundsReadsEmpty()
{
    Catalogue cat;
    cat.LoadFromBytes("@ A\r\n# a*2\r\n");
    QCOMPARE(cat.ChapterTitle(0), QString());
    QCOMPARE(cat.ChapterTitle(2), QString());
    QCOMPARE(cat.ChapterTitle(-1), QString());
    QCOMPARE(cat.LessonTitle(1, 2), QString());
    QCOMPARE(cat.LessonCount(9), qint16(0));
    QCOMPARE(cat.PageExamples(1, 1, 5), qint16(0));
    QCOMPARE(cat.PageExamples(7, 7, 7), qint16(0));
    QCOMPARE(cat.EntryTitle(1, 1, 0), QString());
}

void TestCatalogue::arabicTitlesDecodeFromCodePage()
{
    const QString chapter = QStringLiteral("أحكام النون الساكنة والتنوين");
    const QString lesson = QStringLiteral("الإظهار الحلقي");
    const QString entry = QStringLiteral("حروف الحلق");
    Catalogue cat;
    cat.LoadFromBytes(cp1256(QStringLiteral("@ %1\r\n# %2*4\r\n# فهرس*99\r\n& %3*3\r\n").arg(chapter, lesson, entry)));
    QCOMPARE(cat.ChapterTitle(1), chapter);
    QCOMPARE(cat.LessonTitle(1, 1), lesson);
    QCOMPARE(cat.PageExamples(1, 1, 0), qint16(4));
    QCOMPARE(cat.EntryTitle(1, 2, 1), entry);
}

void TestCatalogue::missingFileShowsTheStandardBox()
{
    QTemporaryDir dir;
    RecordingSink sink;
    Catalogue cat;
    cat.LoadCatalogue(dir.filePath(QStringLiteral("contents.ini")), sink);
    QCOMPARE(sink.boxes, QStringList { QStringLiteral("أحد الملفات ناقصة، يرجى إعادة تنصيب البرنامج") });
    QVERIFY(sink.dialogs.isEmpty());
    QCOMPARE(cat.ChapterCount(), qint16(0));
    QCOMPARE(cat.ChapterTitle(1), QString());
}

void TestCatalogue::emptyFileIsSilent()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("contents.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    RecordingSink sink;
    Catalogue cat;
    cat.LoadCatalogue(file.fileName(), sink);
    QVERIFY(sink.boxes.isEmpty());
    QCOMPARE(cat.ChapterCount(), qint16(0));
}

void TestCatalogue::garbageDoesNotCrashOrHang()
{
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.append(char((i * 7919) & 0xFF));
    bytes += "\r\n@ " + QByteArray(1 << 20, 'x') + "\r\n";
    for (int i = 0; i < 100000; ++i)
        bytes += (i % 3 == 0) ? "# l*1\r\n" : (i % 3 == 1) ? "& e*2\r\n" : "#\r\n";
    QElapsedTimer timer;
    timer.start();
    Catalogue cat;
    cat.LoadFromBytes(bytes);
    QVERIFY2(timer.elapsed() < 10000, "loading 100 000 lines took too long");
    QVERIFY(cat.ChapterCount() >= 1);
    QCOMPARE(cat.ChapterTitle(cat.ChapterCount()).size(), 1 << 20);
    // Counts saturate at the 16-bit limit instead of wrapping to negative.
    QVERIFY(cat.MaxLessons() > 0);
    QVERIFY(cat.LessonCount(cat.ChapterCount()) > 0);
}

void TestCatalogue::removeSpacesAndMaxOf()
{
    QCOMPARE(RemoveSpaces(QStringLiteral(" 1 2 ")), QStringLiteral("12"));
    QCOMPARE(RemoveSpaces(QStringLiteral("1\t2")), QStringLiteral("1\t2"));
    QCOMPARE(MaxOf(3, 5), qint16(5));
    QCOMPARE(MaxOf(-1, -4), qint16(-1));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
