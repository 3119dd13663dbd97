// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/examplefiles.h"
#include "practicefixture.h"
#include "sound/api/soundinfo.h"
#include "sound/core/takejournal.h"
#include "sound/qt/qtwaveaudio.h"
#include "sound/qt/qtwaveinput.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// How far the saved take may be from the position at which it stopped.
constexpr double LengthTolerance = 0.1;

// Plays into the null sink, whose monitor is the "mic" source. Five seconds of a
// 440 Hz tone at half scale, or silence.
class SinkFeed
{
public:
    explicit SinkFeed(const QString &folder, bool tone)
    {
        const QString raw = folder + (tone ? "/tone.raw" : "/silence.raw");
        QByteArray bytes;
        for (int i = 0; i < 44100 * 20; ++i) {
            const qint16 v = tone ? qint16(16000 * std::sin(2 * M_PI * 440.0 * i / 44100)) : 0;
            bytes.append(reinterpret_cast<const char *>(&v), 2);
        }
        QFile file(raw);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        file.close();
        m_process.start("pacat",
            { "--playback", "--raw", "--format=s16le", "--rate=44100", "--channels=1", "--latency-msec=30", raw });
        m_process.waitForStarted();
    }
    ~SinkFeed()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

} // namespace

class TestSystemRecorder final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void recordsATakeToItsLimit();
    void journalHoldsTheTakeUntilItIsSaved();
    void anotherWritersJournalIsLeftAlone_data();
    void anotherWritersJournalIsLeftAlone();
    void aTakeInMemoryIsKeptForTheNextStart();
    void meterSeesTheTone_data();
    void meterSeesTheTone();
    void cleanupTestCase();

private:
    QProcess m_busy;
};

void TestSystemRecorder::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        QSKIP("needs the test sound server (scripts/test-services)");
    // Full level on an unmuted source, whatever an earlier test left there: the
    // tone's level is what the meter rows measure.
    QCOMPARE(QProcess::execute("pactl", { "set-source-volume", "@DEFAULT_SOURCE@", "100%" }), 0);
    QCOMPARE(QProcess::execute("pactl", { "set-source-mute", "@DEFAULT_SOURCE@", "0" }), 0);
    QCOMPARE(QProcess::execute("pactl", { "set-sink-volume", "@DEFAULT_SINK@", "100%" }), 0);
    // The null sink's monitor stalls new capture streams for a second or more
    // while the sink is idle: keep it busy for the whole run.
    m_busy.start("pacat", { "--playback", "--raw", "--latency-msec=30", "/dev/zero" });
    QVERIFY(m_busy.waitForStarted());
    QTest::qWait(300);
    // A freshly started sound server takes over a second to set up the first pair
    // of capture streams; that start-up is not what these tests measure.
    QtWaveInput input;
    QString error;
    QVERIFY2(input.Open(&error), qPrintable(error));
    QtWaveAudio audio;
    audio.Send("open new type waveaudio alias capture");
    QCOMPARE(audio.Send("record capture"), QString());
    audio.Send("close capture");
}

void TestSystemRecorder::cleanupTestCase()
{
    m_busy.kill();
    m_busy.waitForFinished();
}

void TestSystemRecorder::recordsATakeToItsLimit()
{
    QtWaveAudio audio;
    QtWaveInput input;
    PracticeFixture f(&audio, &input);
    Recorder &recorder = *f.recorder;
    recorder.SetCurExample(1);
    recorder.SetExampleDuration(1); // a limit of 2000 ms
    recorder.SetSpeedPercent(70);

    SinkFeed feed(f.dir.path(), true);
    QTest::qWait(300);
    QElapsedTimer elapsed;
    elapsed.start();
    f.c.Arec->press();
    QVERIFY(f.c.TimerMeter->isActive());
    int mostLit = 0;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            int lit = 0;
            for (int k = 1; k <= 8; ++k)
                lit += f.c.vm[k]->isVisibleTo(&f.host) ? 1 : 0;
            mostLit = std::max(mostLit, lit);
            return !f.c.TimerMeter->isActive();
        }(),
        6000);
    QVERIFY2(f.dialogs.isEmpty(), qPrintable(f.dialogs.join('|')));
    QVERIFY2(f.boxes.isEmpty(), qPrintable(f.boxes.join('|')));
    // The limit is counted in captured sound, which arrives in real time.
    QVERIFY2(std::abs(elapsed.elapsed() - 2000) < 300, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY2(mostLit >= 4, qPrintable(QString::number(mostLit)));

    const QString path = f.recording("3-2-1.wav");
    QVERIFY(QFile::exists(path));
    QCOMPARE(run("soxi", { "-r", path }), QStringLiteral("11025"));
    QCOMPARE(run("soxi", { "-c", path }), QStringLiteral("1"));
    QCOMPARE(run("soxi", { "-b", path }), QStringLiteral("8"));
    QCOMPARE(run("soxi", { "-e", path }), QStringLiteral("Unsigned Integer PCM"));
    const double seconds = run("soxi", { "-D", path }).toDouble();
    QVERIFY2(std::abs(seconds - 2.0) <= LengthTolerance, qPrintable(QString::number(seconds)));
    const QString stat = run("sox", { path, "-n", "stat" });
    const QRegularExpressionMatch rms = QRegularExpression("RMS\\s+amplitude:\\s+([0-9.]+)").match(stat);
    QVERIFY2(rms.hasMatch(), qPrintable(stat));
    // A half-scale sine has an RMS of about 0.35; silence would be near 0.
    QVERIFY2(rms.captured(1).toDouble() > 0.2, qPrintable(stat));
    // The take says what speed the reciter was heard at before it.
    QCOMPARE(ReadSoundInfo(path).comment, ExampleFiles::SpeedComment(70));

    // Playing it back runs to its end and stops by itself.
    f.c.Aplay->press();
    QVERIFY(f.c.TimerMeter->isActive());
    QVERIFY2(std::abs(recorder.StopAt() - 2000) <= 100, qPrintable(QString::number(recorder.StopAt())));
    QTRY_VERIFY_WITH_TIMEOUT(!f.c.TimerMeter->isActive(), 5000);
    QVERIFY(f.c.Arec->isVisibleTo(&f.host));
}

// While the take runs its sound is on disk, readable as a WAV; a save that fails
// keeps journal and take for the next try, and the one that succeeds leaves no
// journal behind.
void TestSystemRecorder::journalHoldsTheTakeUntilItIsSaved()
{
    QTemporaryDir dir;
    const QString journal = dir.filePath(".1-1-1.wav.journal");
    const QString take = dir.filePath("1-1-1.wav");
    SinkFeed feed(dir.path(), true);
    QTest::qWait(300);
    QtWaveAudio audio;
    QCOMPARE(audio.Send("open new type waveaudio alias capture"), QString());
    QCOMPARE(audio.Send("set capture journal " + journal), QString());
    QCOMPARE(audio.Send("record capture"), QString());
    QTRY_VERIFY_WITH_TIMEOUT(audio.Send("status capture position").toLongLong() >= 1500, 5000);
    // Nothing asked the device to save: the journal is already a take of its own.
    const double journalled = run("soxi", { "-D", journal }).toDouble();
    QVERIFY2(journalled >= 1.3, qPrintable(QString::number(journalled)));

    QCOMPARE(audio.Send("stop capture"), QString());
    const qint64 position = audio.Send("status capture position").toLongLong();
    QCOMPARE(audio.Send("set capture comment reciter-speed=85"), QString());
    QVERIFY(WaveAudio::IsError(audio.Send("save capture " + dir.filePath("gone/1-1-1.wav"))));
    QVERIFY(QFile::exists(journal));
    // A rename that fails beside the journal (a folder in the take's place)
    // must leave the journal holding sound alone for the next try.
    QVERIFY(QDir(dir.path()).mkdir("busy.wav"));
    QVERIFY(WaveAudio::IsError(audio.Send("save capture " + dir.filePath("busy.wav"))));
    QCOMPARE(audio.Send("save capture " + take), QString());
    QFile saved(take);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().count("LIST"), 1);
    QCOMPARE(ReadSoundInfo(take).comment, QStringLiteral("reciter-speed=85"));
    QVERIFY(!QFile::exists(journal));
    const double seconds = run("soxi", { "-D", take }).toDouble();
    QVERIFY2(std::abs(seconds - position / 1000.0) <= 0.05, qPrintable(QString::number(seconds)));
    QCOMPARE(run("soxi", { "-r", take }), QStringLiteral("11025"));
    audio.Send("close capture");
    QVERIFY(QFile::exists(take));
}

void TestSystemRecorder::anotherWritersJournalIsLeftAlone_data()
{
    QTest::addColumn<bool>("locked"); // a window records into it, or it waits for recovery
    QTest::newRow("a window is recording into it") << true;
    QTest::newRow("it holds a take not yet recovered") << false;
}

// A second window pressing Record on the same example: the first one's
// journal is neither emptied nor removed, and the second records to a name
// of its own.
void TestSystemRecorder::anotherWritersJournalIsLeftAlone()
{
    QFETCH(bool, locked);
    QTemporaryDir dir;
    const QString first = dir.filePath(".1-1-1.wav.journal");
    const QByteArray held = TakeJournal::Header(0) + QByteArray(33000, char(200));
    {
        QFile file(first);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(held);
    }
    const int fd = ::open(QFile::encodeName(first).constData(), O_RDWR);
    QVERIFY(fd >= 0);
    if (locked)
        QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    QtWaveAudio audio;
    QCOMPARE(audio.Send("open new type waveaudio alias capture"), QString());
    QVERIFY(WaveAudio::IsError(audio.Send("set capture journal " + first)));
    audio.Send("close capture");
    ::close(fd);
    QFile file(first);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), held);
    QCOMPARE(audio.Send("open new type waveaudio alias capture"), QString());
    QCOMPARE(audio.Send("set capture journal " + dir.filePath(".1-1-1.wav.2.journal")), QString());
    audio.Send("close capture");
}

// A take that could not be saved and whose journal is missing lives in
// memory: written whole as a journal, the next start makes it the take,
// comment and all.
void TestSystemRecorder::aTakeInMemoryIsKeptForTheNextStart()
{
    QTemporaryDir dir;
    SinkFeed feed(dir.path(), true);
    QTest::qWait(300);
    const QString kept = dir.filePath("state/.1-1-2.wav.journal");
    QVERIFY(QDir().mkpath(dir.filePath("state")));
    qint64 position = 0;
    {
        QtWaveAudio audio;
        QCOMPARE(audio.Send("open new type waveaudio alias capture"), QString());
        QCOMPARE(audio.Send("set capture comment reciter-speed=70"), QString());
        QCOMPARE(audio.Send("record capture"), QString());
        QTRY_VERIFY_WITH_TIMEOUT(audio.Send("status capture position").toLongLong() >= 1500, 5000);
        QCOMPARE(audio.Send("stop capture"), QString());
        position = audio.Send("status capture position").toLongLong();
        QCOMPARE(audio.Send("keep capture " + kept), QString());
        QCOMPARE(audio.Send("status capture journal").toLongLong(), position);
        // The program ends without a save: the kept journal stays.
    }
    const TakeJournal::Recovery r = TakeJournal::Recover(dir.filePath("rec"), dir.filePath("state"));
    QCOMPARE(r.recovered, QStringList { "1-1-2.wav" });
    const QString take = dir.filePath("rec/1-1-2.wav");
    const double seconds = run("soxi", { "-D", take }).toDouble();
    QVERIFY2(std::abs(seconds - position / 1000.0) <= 0.01, qPrintable(QString::number(seconds)));
    QCOMPARE(ReadSoundInfo(take).comment, QStringLiteral("reciter-speed=70"));
}

void TestSystemRecorder::meterSeesTheTone_data()
{
    QTest::addColumn<bool>("tone");
    QTest::newRow("tone lights segments") << true;
    QTest::newRow("silence lights none") << false;
}

void TestSystemRecorder::meterSeesTheTone()
{
    QFETCH(bool, tone);
    QtWaveInput input;
    PracticeFixture f(nullptr, &input);
    SoundMeter &meter = *f.meter;
    SinkFeed feed(f.dir.path(), tone);
    QVERIFY(meter.StartMeter());
    int peak = 0, slow = 0;
    QElapsedTimer clock;
    clock.start();
    // A read that waited for the device would be slow at nearly every tick;
    // one tick in a while is the machine pausing this test.
    while (clock.elapsed() < 1500) {
        QTest::qWait(50);
        QElapsedTimer call;
        call.start();
        peak = std::max(peak, meter.ReadPeak());
        if (call.elapsed() >= 10)
            ++slow;
    }
    QVERIFY2(slow <= 2, qPrintable(QStringLiteral("%1 reads of about 30 took 10 ms or more").arg(slow)));
    meter.StopMeter();
    if (tone)
        QVERIFY2(SoundMeter::LitSegments(qint16(peak)) >= 4, qPrintable(QString::number(peak)));
    else
        QCOMPARE(SoundMeter::LitSegments(qint16(peak)), 0);
}

QTEST_MAIN(TestSystemRecorder)
#include "test_system_recorder.moc"
