// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/testfiles.h"
#include "content/catalogue.h"
#include "practice/practiceprogress.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Lesson 1.1 has three examples; 1.2 is an index lesson whose four shown
// entries have 2, 2, 0 and 1 (a fifth has no link); 1.3 has none; 1.4 has more
// than the window has buttons.
const QByteArray Contents = "@ A\r\n# a*3\r\n# index*99\r\n& e*2\r\n& f*2\r\n& g*0\r\n& h*1\r\n& i*2\r\n"
                            "# none*0\r\n# many*20\r\n";

} // namespace

class TestPracticeProgress final : public QObject
{
    Q_OBJECT
private slots:
    void countsTakesFromTheFolder_data();
    void countsTakesFromTheFolder();
};

void TestPracticeProgress::countsTakesFromTheFolder_data()
{
    QTest::addColumn<QStringList>("files"); // under rec/
    QTest::addColumn<int>("earlier"); // more takes of the example in its history
    QTest::addColumn<QString>("example");
    QTest::addColumn<int>("takes");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("lesson"); // of chapter 1
    QTest::addColumn<QList<int>>("share"); // practised, examples

    const QString once = QStringLiteral("تم التدرب مرة واحدة");
    QTest::newRow("the newest take") << QStringList { "1-1-2.wav" } << 0 << "1-1-2" << 1 << once << 1
                                     << QList<int> { 1, 3 };
    QTest::newRow("earlier takes count with the newest")
        << QStringList { "1-1-2.wav" } << 2 << "1-1-2" << 3 << QStringLiteral("تم التدرب ٣ مرات") << 1
        << QList<int> { 1, 3 };
    QTest::newRow("two takes") << QStringList { "1-1-2.wav" } << 1 << "1-1-2" << 2 << QStringLiteral("تم التدرب مرتين")
                               << 1 << QList<int> { 1, 3 };
    QTest::newRow("eleven and more are said in the singular")
        << QStringList { "1-1-2.wav" } << 20 << "1-1-2" << 21 << QStringLiteral("تم التدرب ٢١ مرة") << 1
        << QList<int> { 1, 3 };
    QTest::newRow("history without the newest, deleted by hand")
        << QStringList {} << 1 << "1-1-2" << 1 << once << 1 << QList<int> { 1, 3 };
    QTest::newRow("a journal and a save's temporary file are no take")
        << QStringList { ".1-1-2.wav.journal", ".1-1-2.wav.Ab12Cd", "history/1-1-2/notes.wav" } << 0 << "1-1-2" << 0
        << QString() << 1 << QList<int> { 0, 3 };
    QTest::newRow("an entry's take is not the lesson's")
        << QStringList { "1-2-1-1.wav", "1-2-4-1.wav", "history/1-2-2-2/20260301-090507.wav" } << 0 << "1-2-1" << 0
        << QString() << 2 << QList<int> { 3, 5 };
    QTest::newRow("a fifth entry has no link")
        << QStringList { "1-2-5-1.wav" } << 0 << "1-2-5-1" << 1 << once << 2 << QList<int> { 0, 5 };
    QTest::newRow("a lesson without examples")
        << QStringList { "1-3-1.wav" } << 0 << "1-3-1" << 1 << once << 3 << QList<int> { 0, 0 };
    QTest::newRow("no button beyond the thirteenth")
        << QStringList { "1-4-13.wav", "1-4-14.wav" } << 0 << "1-4-14" << 1 << once << 4 << QList<int> { 1, 13 };
}

void TestPracticeProgress::countsTakesFromTheFolder()
{
    QFETCH(QStringList, files);
    QFETCH(int, earlier);
    QFETCH(QString, example);
    QFETCH(int, takes);
    QFETCH(QString, said);
    QFETCH(int, lesson);
    QFETCH(QList<int>, share);

    QTemporaryDir dir;
    const QString rec = dir.filePath("rec/");
    for (const QString &file : files)
        write(rec + file, "RIFF");
    const QDateTime start(QDate(2026, 3, 1), QTime(9, 0, 0));
    for (int i = 0; i < earlier; ++i)
        write(rec + "history/" + example + "/" + start.addSecs(60 * i).toString("yyyyMMdd-HHmmss") + ".wav", "RIFF");
    Catalogue catalogue;
    catalogue.LoadFromBytes(Contents);

    PracticeProgress progress(rec);
    progress.Read();
    QCOMPARE(progress.Takes(example), takes);
    QCOMPARE(PracticeProgress::TakesWording(takes), said);
    const PracticeProgress::Share got = progress.LessonShare(catalogue, 1, lesson);
    QCOMPARE(QList<int>({ got.practised, got.examples }), share);
}

QTEST_GUILESS_MAIN(TestPracticeProgress)
#include "test_practiceprogress.moc"
