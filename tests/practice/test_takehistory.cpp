// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakewave.h"
#include "../support/testfiles.h"
#include "practice/takehistory.h"
#include "practice/takeslist.h"
#include "practicefixture.h"

#include <QDateTime>
#include <QtTest>

#include <ctime>

namespace {

void stamp(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

class TestTakeHistory final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void takesGoToHistory_data();
    void takesGoToHistory();
    void aFailedSaveLeavesTheHistoryAsItWas_data();
    void aFailedSaveLeavesTheHistoryAsItWas();
    void aTakeIsDescribedAsTheComparisonSaysIt_data();
    void aTakeIsDescribedAsTheComparisonSaysIt();
};

void TestTakeHistory::initTestCase()
{
    // A zone with daylight saving, for this process alone: the machine's clock
    // and zone are not touched.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void TestTakeHistory::takesGoToHistory_data()
{
    QTest::addColumn<int>("takes"); // recorded one after the other
    // How the clock read as each take was recorded: steady (a minute apart),
    // one second for all, set back to 2020 after the twentieth, one take
    // stamped years ahead, or the night daylight saving ends (the local
    // hour 02:00-03:00 comes twice).
    QTest::addColumn<QString>("clock");
    QTest::addColumn<int>("older"); // earlier takes under names from before numbers
    QTest::addColumn<int>("history");
    QTest::newRow("the first take has no history") << 1 << "steady" << 0 << 0;
    QTest::newRow("the second keeps the first") << 2 << "steady" << 0 << 1;
    QTest::newRow("twenty earlier takes") << 21 << "steady" << 0 << 20;
    QTest::newRow("the oldest goes past twenty") << 24 << "steady" << 0 << 20;
    QTest::newRow("takes within one second keep apart") << 4 << "same second" << 0 << 3;
    QTest::newRow("a clock set back keeps the newest") << 23 << "behind" << 0 << 20;
    QTest::newRow("a clock ahead for one take") << 5 << "ahead" << 0 << 4;
    QTest::newRow("daylight saving ends") << 6 << "dst" << 0 << 5;
    QTest::newRow("names from before come first") << 3 << "steady" << 2 << 4;
    QTest::newRow("names from before go first") << 21 << "behind" << 3 << 20;
}

void TestTakeHistory::takesGoToHistory()
{
    QFETCH(int, takes);
    QFETCH(QString, clock);
    QFETCH(int, older);
    QFETCH(int, history);
    PracticeFixture f;
    f.recorder->SetCurExample(2);
    const QString take = f.recording("3-2-2.wav");
    // Earlier takes kept before the names had numbers, with times after every
    // take of this run: they still come first.
    for (int k = 0; k < older; ++k)
        write(f.app + QStringLiteral("/rec/history/3-2-2/2030010%1-101500.wav").arg(k + 1),
            "older " + QByteArray::number(k));
    const QDateTime start(QDate(2026, 3, 1), QTime(9, 5, 7));
    const QDateTime dstEnds = QDateTime(QDate(2026, 10, 25), QTime(0, 30), Qt::UTC); // 02:30 summer time
    const auto when = [&](int i) {
        if (clock == "same second")
            return start;
        if (clock == "behind" && i > 20)
            return QDateTime(QDate(2020, 1, 1), QTime(8, 0)).addSecs(i);
        if (clock == "ahead" && i == 2)
            return start.addYears(5);
        if (clock == "dst")
            return dstEnds.addSecs(20 * 60 * i).toLocalTime();
        return start.addSecs(60 * i);
    };
    for (int i = 1; i <= takes; ++i) {
        f.audio.saveContent = "take " + QByteArray::number(i);
        f.c.Arec->press();
        f.c.Astop->press();
        stamp(take, when(i));
    }
    // The newest stays where it always was, untouched, whatever the clock said.
    QCOMPARE(contentOf(take), "take " + QByteArray::number(takes));
    const QStringList earlier = TakeHistory::Earlier(take);
    QCOMPARE(earlier.size(), history);
    // In the order they were kept, the oldest let go first.
    QList<QByteArray> expected;
    for (int k = 0; k < older; ++k)
        expected << "older " + QByteArray::number(k);
    for (int i = 1; i < takes; ++i)
        expected << "take " + QByteArray::number(i);
    expected = expected.mid(expected.size() - history);
    for (int k = 0; k < history; ++k)
        QCOMPARE(contentOf(earlier[k]), expected[k]);
    // Each kept take's name tells the time it was recorded.
    if (history > 0 && older == 0) {
        const int i = takes - 1;
        QVERIFY2(QFileInfo(earlier.last()).fileName().endsWith(when(i).toString("yyyyMMdd-HHmmss") + ".wav"),
            qPrintable(earlier.last()));
    }
}

void TestTakeHistory::aFailedSaveLeavesTheHistoryAsItWas_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("a full disk") << "disk";
    // The previous take cannot go to the history: the new one must not
    // overwrite it.
    QTest::newRow("rec/history is a file") << "history file";
    QTest::newRow("the example's history is a file") << "folder file";
}

void TestTakeHistory::aFailedSaveLeavesTheHistoryAsItWas()
{
    QFETCH(QString, fault);
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    const QString take = f.recording("3-2-1.wav");
    f.audio.saveContent = "first";
    f.c.Arec->press();
    f.c.Astop->press();
    f.audio.saveContent = "lost?";
    if (fault == "disk")
        f.audio.saveReply = WaveAudio::ErrorPrefix + "disk full";
    else
        write(fault == "history file" ? f.app + "/rec/history" : f.app + "/rec/history/3-2-1", "junk");
    f.c.Arec->press();
    f.c.Astop->press();
    QVERIFY(f.recorder->HasPendingTake());
    QVERIFY(TakeHistory::Earlier(take).isEmpty());
    QCOMPARE(contentOf(take), QByteArray("first"));
    QVERIFY(f.dialogs.last().startsWith(Recorder::SaveFailedMessage));
    // Saved at last: the first take is now history.
    f.audio.saveReply.clear();
    QFile::remove(f.app + "/rec/history");
    QFile::remove(f.app + "/rec/history/3-2-1");
    f.audio.saveContent = "second";
    f.c.Arec->press();
    QCOMPARE(contentOf(take), QByteArray("second"));
    QCOMPARE(TakeHistory::Earlier(take).size(), 1);
    QCOMPARE(contentOf(TakeHistory::Earlier(take).first()), QByteArray("first"));
}

// The list's line of a take ends with the same words and digits as the
// comparison's sentence: a learner who reads one and then the other must not
// be told the same length two ways.
void TestTakeHistory::aTakeIsDescribedAsTheComparisonSaysIt_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("difference"); // -1000: not compared
    QTest::addColumn<int>("wordsOff"); // -1: not judged word by word; then one rule off
    QTest::addColumn<QString>("ending");
    QTest::newRow("longer, after the slowed reciter")
        << 70 << 12 << -1 << QStringLiteral("٣٫٢ ثانية، بعد القارئ بسرعة ٧٠٪، أطول من تلاوة القارئ بـ ١٢٪");
    QTest::newRow("shorter") << 100 << -8 << -1 << QStringLiteral("٣٫٢ ثانية، أقصر من تلاوة القارئ بـ ٨٪");
    QTest::newRow("as long") << 100 << 0 << -1 << QStringLiteral("٣٫٢ ثانية، بطول تلاوة القارئ");
    QTest::newRow("not compared") << 100 << -1000 << -1 << QStringLiteral("، ٣٫٢ ثانية");
    QTest::newRow("judged word by word") << 100 << 0 << 2
                                         << QStringLiteral("بطول تلاوة القارئ، الكلمات المخالفة ٢، الأحكام المخالفة ١");
}

void TestTakeHistory::aTakeIsDescribedAsTheComparisonSaysIt()
{
    QFETCH(int, speed);
    QFETCH(int, difference);
    QFETCH(int, wordsOff);
    QFETCH(QString, ending);
    TakesList::Take take;
    take.recorded = QDateTime(QDate(2026, 12, 8), QTime(10, 15));
    take.seconds = 3.24;
    take.percent = speed;
    TakesList::Known known;
    if (difference != -1000)
        known.percentDifference = difference;
    known.wordsOff = wordsOff >= 0 ? std::optional<int>(wordsOff) : std::nullopt;
    known.rulesOff = wordsOff >= 0 ? std::optional<int>(1) : std::nullopt;
    const QString said = TakesList::Wording(take, known);
    QVERIFY2(said.endsWith(ending), qPrintable(said));
}

QTEST_MAIN(TestTakeHistory)
#include "test_takehistory.moc"
