// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakewave.h"
#include "practice/takehistory.h"
#include "practicefixture.h"

#include <QDateTime>
#include <QtTest>

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
    void takesGoToHistory_data();
    void takesGoToHistory();
    void aFailedSaveLeavesTheHistoryAsItWas();
};

void TestTakeHistory::takesGoToHistory_data()
{
    QTest::addColumn<int>("takes"); // recorded one after the other, a minute apart
    QTest::addColumn<bool>("sameSecond"); // every earlier take stamped with one second
    QTest::addColumn<int>("history");
    QTest::newRow("the first take has no history") << 1 << false << 0;
    QTest::newRow("the second keeps the first") << 2 << false << 1;
    QTest::newRow("twenty earlier takes") << 21 << false << 20;
    QTest::newRow("the oldest goes past twenty") << 24 << false << 20;
    QTest::newRow("takes within one second keep apart") << 4 << true << 3;
}

void TestTakeHistory::takesGoToHistory()
{
    QFETCH(int, takes);
    QFETCH(bool, sameSecond);
    QFETCH(int, history);
    PracticeFixture f;
    f.recorder->SetCurExample(2);
    const QString take = f.recording("3-2-2.wav");
    const QDateTime start(QDate(2026, 3, 1), QTime(9, 5, 7));
    for (int i = 1; i <= takes; ++i) {
        f.audio.saveContent = "take " + QByteArray::number(i);
        f.c.Arec->press();
        f.c.Astop->press();
        // The time it was recorded is the file's own.
        stamp(take, sameSecond ? start : start.addSecs(60 * i));
    }
    // The newest stays where it always was, untouched.
    QCOMPARE(contentOf(take), "take " + QByteArray::number(takes));
    const QStringList earlier = TakeHistory::Earlier(take);
    QCOMPARE(earlier.size(), history);
    if (history == 0)
        return;
    QCOMPARE(QFileInfo(earlier.first()).absolutePath(), f.app + "/rec/history/3-2-2");
    // Oldest first, each under its own recording time, the oldest let go.
    for (int k = 0; k < history; ++k) {
        const int i = takes - history + k;
        QCOMPARE(contentOf(earlier[k]), "take " + QByteArray::number(i));
        const QDateTime when = sameSecond ? start.addSecs(k) : start.addSecs(60 * i);
        QCOMPARE(QFileInfo(earlier[k]).fileName(), when.toString("yyyyMMdd-HHmmss") + ".wav");
    }
}

void TestTakeHistory::aFailedSaveLeavesTheHistoryAsItWas()
{
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    const QString take = f.recording("3-2-1.wav");
    f.c.Arec->press();
    f.c.Astop->press();
    f.audio.saveReply = WaveAudio::ErrorPrefix + "disk full";
    f.c.Arec->press();
    f.c.Astop->press();
    QVERIFY(f.recorder->HasPendingTake());
    QVERIFY(TakeHistory::Earlier(take).isEmpty());
    QCOMPARE(contentOf(take), QByteArray("RIFF"));
    // Saved at last: the first take is now history.
    f.audio.saveReply.clear();
    f.audio.saveContent = "second";
    f.c.Arec->press();
    QCOMPARE(contentOf(take), QByteArray("second"));
    QCOMPARE(TakeHistory::Earlier(take).size(), 1);
    QCOMPARE(contentOf(TakeHistory::Earlier(take).first()), QByteArray("RIFF"));
}

QTEST_MAIN(TestTakeHistory)
#include "test_takehistory.moc"
