// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/testfiles.h"
#include "audio/takejournal.h"

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

} // namespace

class TestTakeJournal final : public QObject
{
    Q_OBJECT
private slots:
    void recover_data();
    void recover();
    void aJournalInUseIsLeftAlone();
};

void TestTakeJournal::recover_data()
{
    QTest::addColumn<QString>("where"); // rec or fallback
    QTest::addColumn<qint64>("ms"); // the journal's length
    QTest::addColumn<QString>("savedTake"); // none, older or newer than the journal
    QTest::addColumn<bool>("recovered");
    QTest::newRow("a crash mid-take") << "rec" << qint64(4000) << "none" << true;
    QTest::newRow("replaces the take before it") << "rec" << qint64(3000) << "older" << true;
    QTest::newRow("a newer take wins") << "rec" << qint64(3000) << "newer" << false;
    QTest::newRow("a slip of the finger is no take") << "rec" << qint64(300) << "older" << false;
    QTest::newRow("from the fallback folder") << "fallback" << qint64(2000) << "none" << true;
    QTest::newRow("from the fallback, older take") << "fallback" << qint64(2000) << "older" << true;
}

void TestTakeJournal::recover()
{
    QFETCH(QString, where);
    QFETCH(qint64, ms);
    QFETCH(QString, savedTake);
    QFETCH(bool, recovered);
    QTemporaryDir dir;
    const QString rec = dir.filePath("rec");
    const QString fallback = dir.filePath("state/journals");
    const QString take = rec + "/3-1-2.wav";
    const QString journalPath = (where == "rec" ? rec : fallback) + "/.3-1-2.wav.journal";
    write(journalPath, journal(ms));
    age(journalPath, 60);
    if (savedTake != "none") {
        write(take, "SAVED");
        age(take, savedTake == "older" ? 3600 : 1);
    }
    // A save cut off before its rename, and a learner's own hidden file.
    write(rec + "/.3-1-1.wav.Ab12Cd", "half");
    write(rec + "/.notes", "mine");
    write(rec + "/.3-1-1.wav.old", "mine");

    const TakeJournal::Recovery r = TakeJournal::Recover(rec, fallback);
    QCOMPARE(r.recovered, recovered ? QStringList { "3-1-2.wav" } : QStringList {});
    QVERIFY(r.kept.isEmpty());
    QVERIFY(!QFile::exists(journalPath));
    QVERIFY(!QFile::exists(rec + "/.3-1-1.wav.Ab12Cd"));
    QVERIFY(QFile::exists(rec + "/.notes"));
    QVERIFY(QFile::exists(rec + "/.3-1-1.wav.old"));
    if (recovered) {
        // Every byte that reached the disk, whatever the header said.
        QCOMPARE(frames(take), ms * TakeJournal::Rate / 1000);
    } else if (savedTake != "none") {
        QFile file(take);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("SAVED"));
    } else {
        QVERIFY(!QFile::exists(take));
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

QTEST_GUILESS_MAIN(TestTakeJournal)
#include "test_takejournal.moc"
