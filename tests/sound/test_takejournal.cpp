// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/testfiles.h"
#include "sound/core/takejournal.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sndfile.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A journal as a crash leaves it: the header may still say 0 bytes.
QByteArray journal(qint64 ms, bool headerUpToDate = false)
{
    const QByteArray sound(int(ms * TakeJournal::Rate / 1000), char(200));
    return TakeJournal::Header(headerUpToDate ? quint32(sound.size()) : 0) + sound;
}

void age(const QString &path, int secondsAgo)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

// Frames libsndfile reads from a take, -1 when it is no sound file.
qint64 frames(const QString &path)
{
    SF_INFO info {};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return -1;
    sf_close(file);
    return info.samplerate == TakeJournal::Rate && info.channels == 1 ? qint64(info.frames) : -2;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

class TestTakeJournal final : public QObject
{
    Q_OBJECT
private slots:
    void recover_data();
    void recover();
    void aJournalInUseIsLeftAlone();
    void twoJournalsOfOneTakeAreBothKept();
};

void TestTakeJournal::recover_data()
{
    QTest::addColumn<QString>("where"); // rec, fallback, or rec as a second writer's journal
    QTest::addColumn<qint64>("ms"); // the journal's length
    QTest::addColumn<qint64>("wholeMs"); // the take's, when a full disk cut the journal short
    QTest::addColumn<QString>("savedTake"); // none, older or newer than the journal (by file time)
    QTest::addColumn<bool>("historyKeeps"); // whether the history can keep the saved take
    QTest::addColumn<bool>("recovered");
    QTest::newRow("a crash mid-take") << "rec" << qint64(4000) << qint64(0) << "none" << true << true;
    QTest::newRow("replaces the take before it") << "rec" << qint64(3000) << qint64(0) << "older" << true << true;
    // A clock set back makes the saved take look newer: the journal is the
    // learner's take all the same, and the other goes to the history.
    QTest::newRow("a take that looks newer goes to the history")
        << "rec" << qint64(3000) << qint64(0) << "newer" << true << true;
    QTest::newRow("the history cannot keep the take: the journal waits")
        << "rec" << qint64(3000) << qint64(0) << "older" << false << false;
    QTest::newRow("a slip of the finger is no take") << "rec" << qint64(300) << qint64(0) << "older" << true << false;
    QTest::newRow("from the fallback folder") << "fallback" << qint64(2000) << qint64(0) << "none" << true << true;
    QTest::newRow("from the fallback, older take")
        << "fallback" << qint64(2000) << qint64(0) << "older" << true << true;
    QTest::newRow("a second window's journal") << "rec2" << qint64(3000) << qint64(0) << "none" << true << true;
    QTest::newRow("cut short by a full disk") << "rec" << qint64(2000) << qint64(5000) << "none" << true << true;
}

void TestTakeJournal::recover()
{
    QFETCH(QString, where);
    QFETCH(qint64, ms);
    QFETCH(qint64, wholeMs);
    QFETCH(QString, savedTake);
    QFETCH(bool, historyKeeps);
    QFETCH(bool, recovered);
    QTemporaryDir dir;
    const QString rec = dir.filePath("rec");
    const QString fallback = dir.filePath("state/journals");
    const QString take = rec + "/3-1-2.wav";
    const QString journalPath
        = (where == "fallback" ? fallback : rec) + (where == "rec2" ? "/.3-1-2.wav.2.journal" : "/.3-1-2.wav.journal");
    write(journalPath, journal(ms));
    if (wholeMs > 0) {
        const int fd = ::open(QFile::encodeName(journalPath).constData(), O_RDWR);
        QVERIFY(TakeJournal::MarkPartial(fd, wholeMs * TakeJournal::Rate / 1000));
        ::close(fd);
    }
    age(journalPath, 60);
    const QDateTime recorded = QFileInfo(journalPath).lastModified();
    if (savedTake != "none") {
        write(take, "SAVED");
        age(take, savedTake == "older" ? 3600 : -3600);
    }
    // A save cut off before its rename, one another window is writing right
    // now (it holds its lock), and a learner's own hidden files.
    write(rec + "/.3-1-1.wav.Ab12Cd", "half");
    write(fallback + "/.3-1-1.wav.journal.Zz9876", "half");
    write(rec + "/.3-1-3.wav.Qw3rty", "being written");
    const int writer = ::open(QFile::encodeName(rec + "/.3-1-3.wav.Qw3rty").constData(), O_RDWR);
    QCOMPARE(::flock(writer, LOCK_EX | LOCK_NB), 0);
    write(rec + "/.notes", "mine");
    write(rec + "/.3-1-1.wav.old", "mine");

    QStringList history;
    int withdrawn = 0;
    const TakeJournal::History keeper { [&](const QString &t) {
                                           if (!historyKeeps)
                                               return QString();
                                           const QString kept = dir.filePath("history-%1").arg(history.size());
                                           QFile::copy(t, kept);
                                           history << kept;
                                           return kept;
                                       },
        [&](const QString &) { ++withdrawn; } };
    const TakeJournal::Recovery r = TakeJournal::Recover(rec, fallback, keeper);
    ::close(writer);
    QCOMPARE(r.recovered, recovered ? QStringList { "3-1-2.wav" } : QStringList {});
    QCOMPARE(withdrawn, 0);
    QVERIFY(!QFile::exists(rec + "/.3-1-1.wav.Ab12Cd"));
    QVERIFY(!QFile::exists(fallback + "/.3-1-1.wav.journal.Zz9876"));
    QVERIFY(QFile::exists(rec + "/.3-1-3.wav.Qw3rty"));
    QVERIFY(QFile::exists(rec + "/.notes"));
    QVERIFY(QFile::exists(rec + "/.3-1-1.wav.old"));
    // Whatever happened, the saved take is somewhere: in place or in the history.
    if (savedTake != "none") {
        QCOMPARE(contentOf(recovered ? history.value(0) : take), QByteArray("SAVED"));
        QCOMPARE(history.size(), recovered ? 1 : 0);
    }
    if (recovered) {
        QVERIFY(r.kept.isEmpty());
        QVERIFY(!QFile::exists(journalPath));
        // Every byte that reached the disk, whatever the header said, dated
        // when it was recorded.
        QCOMPARE(frames(take), ms * TakeJournal::Rate / 1000);
        QCOMPARE(QFileInfo(take).lastModified(), recorded);
        QCOMPARE(r.details.size(), 1);
        QCOMPARE(r.details[0].ms, ms);
        QCOMPARE(r.details[0].wholeMs, wholeMs > 0 ? wholeMs : ms);
        QCOMPARE(r.details[0].keptPrevious, savedTake == "none" ? QString() : history.value(0));
    } else if (ms >= TakeJournal::ShortestTakeMs) {
        // Nothing is thrown away: the journal waits for a start that can place it.
        QCOMPARE(r.kept, QStringList { journalPath });
        QCOMPARE(contentOf(journalPath).size(), journal(ms).size());
    } else {
        QVERIFY(!QFile::exists(journalPath));
    }
}

void TestTakeJournal::aJournalInUseIsLeftAlone()
{
    QTemporaryDir dir;
    const QString rec = dir.filePath("rec");
    const QString path = rec + "/.1-1-1.wav.journal";
    write(path, journal(2000, true));
    // Another window of the same course is recording into it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    const TakeJournal::Recovery r = TakeJournal::Recover(rec, QString());
    ::close(fd);
    QVERIFY(r.recovered.isEmpty());
    QVERIFY(QFile::exists(path));
    QVERIFY(!QFile::exists(rec + "/1-1-1.wav"));
    // Once it is let go, it is a leftover like any other.
    QCOMPARE(TakeJournal::Recover(rec, QString()).recovered, QStringList { "1-1-1.wav" });
}

// Two windows recorded the same example and both were killed: the later take
// is the newest, the earlier one in the history.
void TestTakeJournal::twoJournalsOfOneTakeAreBothKept()
{
    QTemporaryDir dir;
    const QString rec = dir.filePath("rec");
    write(rec + "/.1-1-1.wav.journal", journal(2000));
    age(rec + "/.1-1-1.wav.journal", 120);
    write(rec + "/.1-1-1.wav.2.journal", journal(3000));
    age(rec + "/.1-1-1.wav.2.journal", 60);
    QStringList history;
    const TakeJournal::Recovery r = TakeJournal::Recover(rec, QString(),
        { [&](const QString &t) {
             history << dir.filePath("kept-%1").arg(history.size());
             return QFile::rename(t, history.last()) ? history.last() : QString();
         },
            {} });
    QCOMPARE(r.recovered, QStringList({ "1-1-1.wav", "1-1-1.wav" }));
    QCOMPARE(frames(rec + "/1-1-1.wav"), 3 * TakeJournal::Rate);
    QCOMPARE(history.size(), 1);
    QCOMPARE(frames(history[0]), 2 * TakeJournal::Rate);
}

QTEST_GUILESS_MAIN(TestTakeJournal)
#include "test_takejournal.moc"
