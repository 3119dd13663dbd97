// SPDX-License-Identifier: GPL-3.0-or-later

#include "practicefixture.h"

#include "practice/practiceprogress.h"
#include "practice/practicesession.h"
#include "practice/reciterspeed.h"
#include "practice/repeatround.h"
#include "practice/takehistory.h"
#include "practice/takeslist.h"
#include "sound/api/stretchplayer.h"
#include "sound/core/takejournal.h"
#include "sound/qt/qtsoundmodule.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct FakeStretch final : StretchPlayer
{
    QStringList played;
    QList<QByteArray> heard; // what the file held when it was played
    void Play(const QString &path, double, double, double) override
    {
        played << path;
        QFile file(path);
        heard << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    void PlayWave(const QByteArray &) override { }
    void Stop() override { }
};

// A take as the recorder's device saves it: the journal's WAV with the
// comment put after its sound, by the device's own code.
QByteArray TakeWave(int ms, const QString &comment, int sample = 128)
{
    QTemporaryFile file;
    if (!file.open())
        return {};
    const QByteArray data(TakeJournal::Rate * ms / 1000, char(sample));
    file.write(TakeJournal::Header(quint32(data.size())) + data);
    file.flush();
    if (!comment.isEmpty() && !TakeJournal::AppendComment(int(file.handle()), comment.toUtf8()))
        return {};
    file.seek(0);
    return file.readAll();
}

// The session on the fakes, its example 1 a text on page 3-2.
struct Session
{
    QTemporaryDir dir;
    QString app = dir.path();
    QWidget host;
    QWidget *FrameBar = new QWidget(&host);
    QWidget *Samples = new QWidget(&host);
    Settings settings;
    PracticeControls c;
    FakeWaveAudio audio;
    FakeWaveInput input;
    FakeMediaPlayer MP;
    QtSoundModule sound;
    FakeStretch stretch;
    std::unique_ptr<PracticeProgress> progress;
    PagePosition position { 3, 2, 0, false };
    QStringList dialogs;
    QStringList said;
    QList<bool> heldDuringMessage;
    std::unique_ptr<PracticeSession> s;
    QList<QPair<QString, double>> judged;
    int samples = 0; // distinct content for each take saved

    Session()
    {
        WritePracticeSkin(app + "/Images/");
        host.resize(786, 632);
        FrameBar->setGeometry(0, 535, 775, 40);
        Samples->setGeometry(0, 575, 775, 0);
        c = CreatePracticeControls(FrameBar, Samples);
        const QString rec = app + "/rec/";
        QDir().mkpath(rec);
        QDir().mkpath(app + "/data/text");
        for (int n = 1; n <= 2; ++n)
            write(app + QStringLiteral("/data/text/3-2-%1.txt").arg(n), "text");
        progress = std::make_unique<PracticeProgress>(rec);
        audio.content = [this](const QString &comment) { return TakeWave(900, comment, 130 + ++samples); };

        PracticeSession::Devices d;
        d.audio = &audio;
        d.input = &input;
        d.reciter = &MP;
        d.sound = &sound;
        d.stretch = &stretch;
        PracticeSession::Callouts k;
        k.Position = [this] { return position; };
        k.ShowMessage = [this](const QString &t) {
            dialogs << t;
            heldDuringMessage << s->Round().Held();
        };
        k.ShowMessageBox = [this](const QString &t) { dialogs << t; };
        k.Announce = [this](const QString &t, bool) { said << t; };
        k.PanelClosedTop = [] { return 535; };
        PracticeSession::Folders f { app + "/Images/",
            { app + "/data/examples/", app + "/data/text/", app + "/data/images/", rec }, QString() };
        s = std::make_unique<PracticeSession>(c, d, settings, *progress, f, k);
        s->ApplySkin(QPixmap(), QRect(0, 0, 775, 30));
        QObject::connect(s.get(), &PracticeSession::Judging,
            [this](const QString &, const QString &take, double speed) { judged << qMakePair(take, speed); });
        host.show();
        s->PageOpened(2);
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString take() const { return app + "/rec/3-2-1.wav"; }
    void record() { s->TheRecorder().Record(); }
    void stop() { s->TheRecorder().Stop(); }
    void choose(int row)
    {
        s->OpenTakesList();
        QVERIFY(s->Takes().isVisible());
        emit s->Takes().itemActivated(s->Takes().item(row));
    }
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPracticeSession final : public QObject
{
    Q_OBJECT
private slots:
    void theTakeChosenIsTheOneHeardAndJudged_data();
    void theTakeChosenIsTheOneHeardAndJudged();
    void eachTakeIsJudgedAtItsOwnSpeed_data();
    void eachTakeIsJudgedAtItsOwnSpeed();
    void theListFollowsATakeSavedWhileItIsOpen();
    void aSpeedChange_data();
    void aSpeedChange();
    void aMessageInARoundHoldsIt();
    void theLearnerIsToldWhatCameBack_data();
    void theLearnerIsToldWhatCameBack();
};

void TestPracticeSession::theTakeChosenIsTheOneHeardAndJudged_data()
{
    QTest::addColumn<bool>("recording");
    QTest::addColumn<int>("row");
    QTest::newRow("the newest, at rest") << false << 0;
    // Choosing stops the recording, whose save replaces the newest: the row
    // chosen is the take as it was, now in the history.
    QTest::newRow("the newest, while a take records") << true << 0;
    QTest::newRow("an earlier one, while a take records") << true << 1;
}

void TestPracticeSession::theTakeChosenIsTheOneHeardAndJudged()
{
    QFETCH(bool, recording);
    QFETCH(int, row);
    Session f;
    f.record();
    f.stop(); // an earlier take, into the history once the next is saved
    f.record();
    f.stop();
    const QStringList earlier = TakeHistory::Earlier(f.take());
    QCOMPARE(earlier.size(), 1);
    const QByteArray wanted = row == 0 ? contentOf(f.take()) : contentOf(earlier.first());
    if (recording)
        f.record();
    f.choose(row);
    QVERIFY(!f.s->TheRecorder().Recording());
    QCOMPARE(f.stretch.played.size(), 1);
    QCOMPARE(f.stretch.heard.last(), wanted);
    QCOMPARE(f.judged.last().first, f.stretch.played.last());
    if (recording) // the recording was kept too
        QCOMPARE(TakeHistory::Earlier(f.take()).size(), 2);
}

void TestPracticeSession::eachTakeIsJudgedAtItsOwnSpeed_data()
{
    QTest::addColumn<int>("recordedAt");
    QTest::addColumn<int>("nowAt");
    QTest::addColumn<bool>("noted"); // the device kept the comment
    QTest::addColumn<double>("judgedAt");
    QTest::newRow("made at 70 %, chosen at full speed") << 70 << 100 << true << 0.7;
    QTest::newRow("made at 50 %, chosen at 85 %") << 50 << 85 << true << 0.5;
    QTest::newRow("made at full speed, chosen at 70 %") << 100 << 70 << true << 1.0;
    // An older take or one recovered after a crash says nothing of its speed.
    QTest::newRow("no speed in the file") << 70 << 70 << false << 1.0;
}

void TestPracticeSession::eachTakeIsJudgedAtItsOwnSpeed()
{
    QFETCH(int, recordedAt);
    QFETCH(int, nowAt);
    QFETCH(bool, noted);
    QFETCH(double, judgedAt);
    Session f;
    if (!noted)
        f.audio.content = [](const QString &) { return TakeWave(900, QString()); };
    f.s->Speed().SetPercent(recordedAt);
    f.record();
    f.stop();
    QCOMPARE(f.judged.size(), 1);
    QCOMPARE(f.judged.last().first, f.take());
    QCOMPARE(f.judged.last().second, judgedAt);
    f.s->Speed().SetPercent(nowAt);
    f.choose(0);
    QCOMPARE(f.judged.size(), 2);
    QCOMPARE(f.judged.last().second, judgedAt);
    QCOMPARE(f.s->SpeedOfTake(f.take()), judgedAt);
}

void TestPracticeSession::theListFollowsATakeSavedWhileItIsOpen()
{
    Session f;
    f.record();
    f.stop();
    f.record();
    f.s->OpenTakesList();
    QCOMPARE(f.s->Takes().Count(), 1);
    // The take reaches its limit while the list is open.
    f.audio.capturePosition = QString::number(f.s->TheRecorder().StopAt());
    f.s->TheRecorder().TimerMeterTick();
    QVERIFY(!f.s->TheRecorder().Recording());
    QCOMPARE(f.s->Takes().Count(), 2);
}

void TestPracticeSession::aSpeedChange_data()
{
    QTest::addColumn<QString>("phase");
    QTest::newRow("listening") << "listening";
    QTest::newRow("a text-only example after one with sound") << "text-only";
    QTest::newRow("recording") << "recording";
}

void TestPracticeSession::aSpeedChange()
{
    QFETCH(QString, phase);
    Session f;
    if (phase == "listening") {
        // The reciter of example 2 is heard; the player is reloaded at the new speed.
        QDir().mkpath(f.app + "/data/examples");
        Session::write(f.app + "/data/examples/3-2-2.mp3", "ID3");
        f.MP.duration = 4;
        f.s->Examples().SelectExample(2);
        f.s->TheRecorder().Listen();
        QVERIFY(f.s->TheRecorder().Listening());
        const int plays = f.MP.plays;
        f.s->Speed().SetPercent(70);
        QVERIFY(f.s->TheRecorder().Listening());
        QCOMPARE(f.MP.plays, plays + 1);
        QCOMPARE(f.MP.position, 0.0);
    } else if (phase == "text-only") {
        QDir().mkpath(f.app + "/data/examples");
        Session::write(f.app + "/data/examples/3-2-2.mp3", "ID3");
        f.MP.duration = 4;
        f.s->Examples().SelectExample(2);
        QCOMPARE(f.s->TheRecorder().ExampleDuration(), 4);
        f.s->Examples().SelectExample(1);
        f.s->Speed().SetPercent(50);
        QCOMPARE(f.s->TheRecorder().ExampleDuration(), ExamplesPanel::TextOnlySeconds);
    } else {
        f.record();
        f.s->Speed().SetPercent(50);
        f.stop();
        // Recorded after the reciter at full speed, judged so.
        QCOMPARE(f.judged.last().second, 1.0);
        f.record();
        f.stop();
        QCOMPARE(f.judged.last().second, 0.5);
    }
}

// The save of a turn's take fails: the message card is up while the round
// waits behind it, and the round says why there is nothing to compare.
void TestPracticeSession::aMessageInARoundHoldsIt()
{
    Session f;
    f.audio.saveReply = WaveAudio::ErrorPrefix + "disk full";
    f.s->Round().StepRounds(-1);
    f.s->Round().Start();
    QTRY_COMPARE_WITH_TIMEOUT(f.s->Round().CurrentPhase(), RepeatRound::Phase::Turn, 3000);
    f.stop();
    QCOMPARE(f.heldDuringMessage, QList<bool> { true });
    QVERIFY(!f.s->Round().Held());
}

void TestPracticeSession::theLearnerIsToldWhatCameBack_data()
{
    QTest::addColumn<bool>("saved"); // a take of the example was there
    QTest::addColumn<bool>("historyBlocked"); // rec/history is a file
    QTest::addColumn<qint64>("wholeMs"); // when a full disk cut the journal short
    QTest::addColumn<QStringList>("told");
    QTest::addColumn<QStringList>("notTold");
    const QString which = QStringLiteral("المثال ٢ من الدرس ١ من الباب ٣");
    QTest::newRow("a crash mid-take") << false << false << qint64(0)
                                      << QStringList { PracticeSession::RecoveredMessage + which + " (٢٫٠ ثانية)" }
                                      << QStringList { PracticeSession::EarlierKeptMessage };
    QTest::newRow("the take it replaced is kept")
        << true << false << qint64(0) << QStringList { which, PracticeSession::EarlierKeptMessage } << QStringList {};
    QTest::newRow("only part came back") << false << false << qint64(5000)
                                         << QStringList { PracticeSession::PartialMessage + "٥٫٠ ثانية" }
                                         << QStringList {};
    QTest::newRow("the history cannot keep the take there")
        << true << true << qint64(0) << QStringList { PracticeSession::NotRecoveredMessage + which }
        << QStringList { PracticeSession::RecoveredMessage };
}

void TestPracticeSession::theLearnerIsToldWhatCameBack()
{
    QFETCH(bool, saved);
    QFETCH(bool, historyBlocked);
    QFETCH(qint64, wholeMs);
    QFETCH(QStringList, told);
    QFETCH(QStringList, notTold);
    QTemporaryDir dir;
    const QString rec = dir.filePath("rec");
    QVERIFY(QDir().mkpath(rec));
    const QString journal = rec + "/.3-1-2.wav.journal";
    QFile file(journal);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TakeJournal::Header(0) + QByteArray(2 * TakeJournal::Rate, char(128)));
    file.close();
    if (wholeMs > 0) {
        const int fd = ::open(QFile::encodeName(journal).constData(), O_RDWR);
        QVERIFY(TakeJournal::MarkPartial(fd, wholeMs * TakeJournal::Rate / 1000));
        ::close(fd);
    }
    if (saved) {
        QFile take(rec + "/3-1-2.wav");
        QVERIFY(take.open(QIODevice::WriteOnly));
        take.write("SAVED");
    }
    if (historyBlocked) {
        QFile history(rec + "/history");
        QVERIFY(history.open(QIODevice::WriteOnly));
    }
    const QString message = PracticeSession::RecoverTakes(rec + "/", QString());
    for (const QString &part : told)
        QVERIFY2(message.contains(part), qPrintable(message));
    for (const QString &part : notTold)
        QVERIFY2(!message.contains(part), qPrintable(message));
    // Nothing is lost whatever was told.
    QCOMPARE(QFile::exists(journal), historyBlocked);
    if (saved && !historyBlocked)
        QCOMPARE(TakeHistory::Earlier(rec + "/3-1-2.wav").size(), 1);
}

QTEST_MAIN(TestPracticeSession)
#include "test_practicesession.moc"
