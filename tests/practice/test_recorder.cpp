// SPDX-License-Identifier: GPL-3.0-or-later

#include "practicefixture.h"

#include <QtTest>

namespace {

const QStringList RecordCommands { "open new type waveaudio alias capture", "set capture bitspersample 8",
    "set capture samplespersec 11025", "set capture channels 1", "Set capture time format ms",
    "set capture journal %REC%.3-2-1.wav.journal", "set capture comment reciter-speed=100", "record capture" };

QStringList stopCommands(const QString &path)
{
    return { "status capture position", "stop capture", "save capture " + path, "close capture" };
}

QStringList playCommands(const QString &path, const QString &start)
{
    return { "open " + path + " type waveaudio alias voice1", "Set voice1 time format ms", "status voice1 length",
        start };
}

// Which of Aplay, Astop, Apause, Arec show, and whether Aplay takes clicks: "PS.R+".
QString buttons(const PracticeFixture &f)
{
    QString s;
    s += f.c.Aplay->isVisibleTo(&f.host) ? 'P' : '.';
    s += f.c.Astop->isVisibleTo(&f.host) ? 'S' : '.';
    s += f.c.Apause->isVisibleTo(&f.host) ? 'Z' : '.';
    s += f.c.Arec->isVisibleTo(&f.host) ? 'R' : '.';
    s += f.c.Aplay->isEnabled() ? '+' : '-';
    return s;
}

void run(PracticeFixture &f, const QString &actions)
{
    for (const QString &a : actions.split(' ', Qt::SkipEmptyParts)) {
        if (a == "rec")
            f.c.Arec->press();
        else if (a == "stop")
            f.c.Astop->press();
        else if (a == "play")
            f.c.Aplay->press();
        else if (a == "pause")
            f.c.Apause->press();
        else if (a == "listen")
            f.c.Alisten->press();
        else if (a == "tick")
            f.recorder->TimerMeterTick();
        else
            QFAIL(qPrintable("unknown action " + a));
    }
}

} // namespace

static QString ModeName(Recorder::Mode mode)
{
    return QString::fromLatin1(QMetaEnum::fromType<Recorder::Mode>().valueToKey(int(mode)));
}

class TestRecorder final : public QObject
{
    Q_OBJECT
private slots:
    void states_data();
    void states();
    void commands_data();
    void commands();
    void timeLimit_data();
    void timeLimit();
    void playbackEndsAtItsLength();
    void playBeforeRecording();
    void recordingNames_data();
    void recordingNames();
    void takeStaysWithThePageItStartedOn();
    void recordingFolderIsCreated();
    void failedSaveKeepsTheTake();
    void shortTakeKeepsThePrevious_data();
    void shortTakeKeepsThePrevious();
    void recordSilencesEverything_data();
    void recordSilencesEverything();
    void journalGoesWhereItCan_data();
    void journalGoesWhereItCan();
    void stallsEnd_data();
    void stallsEnd();
    void failedStartReturnsToIdle();
    void listenTwiceRestores();
    void listenEndsByItself();
    void listenFinishesATakeFirst_data();
    void listenFinishesATakeFirst();
    void shutdownKeepsTheTake_data();
    void shutdownKeepsTheTake();
    void meterFollowsTheRecording();
    void changesAreToldToAListener_data();
    void changesAreToldToAListener();
};

void TestRecorder::states_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("timer");
    QTest::newRow("start") << ""
                           << "P..R+"
                           << "None" << false;
    QTest::newRow("recording") << "rec"
                               << "PS..-"
                               << "Rec" << true;
    QTest::newRow("recorded") << "rec stop"
                              << "P..R+"
                              << "Rec" << false;
    QTest::newRow("playing") << "rec stop play"
                             << ".SZ.+"
                             << "Play" << true;
    // Nothing moves while paused, so nothing ticks.
    QTest::newRow("paused") << "rec stop play pause"
                            << "PS..+"
                            << "Pause" << false;
    QTest::newRow("resumed") << "rec stop play pause play"
                             << ".SZ.+"
                             << "Play" << true;
    QTest::newRow("stopped from pause") << "rec stop play pause stop"
                                        << "P..R+"
                                        << "Pause" << false;
    QTest::newRow("listening changes no button") << "listen"
                                                 << "P..R+"
                                                 << "Listen" << true;
}

void TestRecorder::states()
{
    QFETCH(QString, actions);
    PracticeFixture f;
    f.recorder->SetExampleDuration(4);
    run(f, actions);
    QTEST(buttons(f), "shown");
    QTEST(ModeName(f.recorder->PracticeMode()), "mode");
    QTEST(f.c.TimerMeter->isActive(), "timer");
    QCOMPARE(f.c.TimerMeter->interval(), PracticeControls::MeterInterval);
}

void TestRecorder::commands_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QStringList>("expected");
    const QString path = "%REC%3-2-1.wav";
    QTest::newRow("record") << "rec" << RecordCommands;
    QTest::newRow("stop saves before closing") << "rec stop" << RecordCommands + stopCommands(path);
    QTest::newRow("play") << "play" << playCommands(path, "play voice1");
    QTest::newRow("pause then play resumes")
        << "play pause play"
        << playCommands(path, "play voice1") + QStringList { "pause voice1" } + playCommands(path, "Resume voice1");
    QTest::newRow("stop then play starts over") << "play stop play"
                                                << playCommands(path, "play voice1")
            + QStringList { "stop voice1", "close voice1" } + playCommands(path, "play voice1");
    QTest::newRow("stop from pause, then play resumes") << "play pause stop play"
                                                        << playCommands(path, "play voice1")
            + QStringList { "pause voice1", "stop voice1", "close voice1" } + playCommands(path, "Resume voice1");
    QTest::newRow("a second record keeps the take") << "rec rec" << RecordCommands;
    QTest::newRow("a second stop saves nothing more") << "rec stop stop" << RecordCommands + stopCommands(path);
    QTest::newRow("record during playback ends it first")
        << "play rec"
        << playCommands(path, "play voice1") + QStringList { "stop voice1", "close voice1" } + RecordCommands;
    QTest::newRow("ticks while paused ask nothing")
        << "play pause tick tick" << playCommands(path, "play voice1") + QStringList { "pause voice1" };
}

void TestRecorder::commands()
{
    QFETCH(QString, actions);
    QFETCH(QStringList, expected);
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    write(f.recording("3-2-1.wav"), "RIFF");
    run(f, actions);
    expected.replaceInStrings("%REC%", f.app + "/rec/");
    QCOMPARE(f.audio.commands, expected);
}

void TestRecorder::timeLimit_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<qint64>("stopAt");
    QTest::newRow("4.4 s example") << 4.4 << qint64(8000);
    QTest::newRow("4.5 s rounds to even") << 4.5 << qint64(8000);
    QTest::newRow("5.5 s rounds to even") << 5.5 << qint64(12000);
    QTest::newRow("an hour") << 3600.0 << qint64(7200000);
    // A length the player cannot give would end every take on its first tick
    // (and replace the last one), or overflow into a negative limit.
    QTest::newRow("empty or unreadable: 0") << 0.0 << qint64(20000);
    QTest::newRow("under half a second") << 0.4 << qint64(20000);
    QTest::newRow("over an hour") << 3601.0 << qint64(20000);
    QTest::newRow("a damaged header's length") << 2.0e9 << qint64(20000);
    QTest::newRow("negative") << -5.0 << qint64(20000);
}

void TestRecorder::timeLimit()
{
    QFETCH(double, duration);
    QFETCH(qint64, stopAt);
    PracticeFixture f;
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    f.MP.duration = duration;
    f.panel->SelectExample(1);
    f.c.Arec->press();
    QCOMPARE(f.recorder->StopAt(), stopAt);

    f.audio.capturePosition = QString::number(stopAt - 1);
    f.recorder->TimerMeterTick();
    QVERIFY(!f.audio.commands.join('|').contains("save capture"));
    QCOMPARE(f.recorder->PracticeMode(), Recorder::Mode::Rec);
    QVERIFY(f.c.TimerMeter->isActive());
    f.audio.capturePosition = QString::number(stopAt);
    f.recorder->TimerMeterTick();
    QCOMPARE(f.audio.commands.mid(f.audio.commands.size() - 2),
        QStringList({ "save capture " + f.recording("3-2-1.wav"), "close capture" }));
    QVERIFY(!f.c.TimerMeter->isActive());
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));
}

void TestRecorder::playbackEndsAtItsLength()
{
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    write(f.recording("3-2-1.wav"), "RIFF");
    f.audio.voiceLength = "2500";
    f.c.Aplay->press();
    QCOMPARE(f.recorder->StopAt(), qint64(2500));
    f.audio.voicePosition = "2499";
    f.recorder->TimerMeterTick();
    QVERIFY(f.c.TimerMeter->isActive());
    f.audio.voicePosition = "2500";
    f.recorder->TimerMeterTick();
    QVERIFY(!f.c.TimerMeter->isActive());
    QCOMPARE(f.audio.commands.mid(f.audio.commands.size() - 2), QStringList({ "stop voice1", "close voice1" }));
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));
}

void TestRecorder::playBeforeRecording()
{
    PracticeFixture f;
    f.recorder->SetCurExample(2);
    f.c.Aplay->press();
    QCOMPARE(f.dialogs, QStringList { Recorder::NotRecordedMessage });
    QVERIFY(f.dialogs.first().contains("\r\n"));
    QVERIFY(f.audio.commands.isEmpty());
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));
}

void TestRecorder::recordingNames_data()
{
    QTest::addColumn<int>("chapter");
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("indexMode");
    QTest::addColumn<QString>("name");
    QTest::newRow("ordinary lesson") << 3 << 2 << 0 << false << "3-2-5.wav";
    QTest::newRow("entry sub-pages keep apart") << 3 << 120 << 1 << true << "3-120-1-5.wav";
    QTest::newRow("another entry") << 3 << 120 << 4 << true << "3-120-4-5.wav";
    QTest::newRow("stale entry of an ordinary lesson is ignored") << 1 << 7 << 2 << false << "1-7-5.wav";
}

void TestRecorder::recordingNames()
{
    QFETCH(int, chapter);
    QFETCH(int, lesson);
    QFETCH(int, entry);
    QFETCH(bool, indexMode);
    PracticeFixture f;
    f.position = PagePosition { qint16(chapter), qint16(lesson), qint16(entry), indexMode };
    f.recorder->SetCurExample(5);
    run(f, "rec stop");
    QFETCH(QString, name);
    QVERIFY(f.audio.commands.contains("save capture " + f.recording(name)));
    QVERIFY(QFile::exists(f.recording(name)));
    // Play reads the same file back.
    f.audio.commands.clear();
    f.c.Aplay->press();
    QCOMPARE(f.audio.commands.first(), "open " + f.recording(name) + " type waveaudio alias voice1");
}

void TestRecorder::takeStaysWithThePageItStartedOn()
{
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    f.c.Arec->press();
    // The learner opens another page while recording.
    f.position = PagePosition { 4, 1, 0, false };
    f.c.Astop->press();
    QVERIFY(QFile::exists(f.recording("3-2-1.wav")));
    QVERIFY(!QFile::exists(f.recording("4-1-1.wav")));
}

void TestRecorder::recordingFolderIsCreated()
{
    PracticeFixture f;
    QVERIFY(!QDir(f.app + "/rec").exists());
    f.recorder->SetCurExample(1);
    run(f, "rec stop");
    QVERIFY(QFile::exists(f.recording("3-2-1.wav")));
    QVERIFY(f.dialogs.isEmpty());
}

void TestRecorder::changesAreToldToAListener_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("recording") << "rec"
                               << "" << QStringList { "RecordingStarted" };
    QTest::newRow("saved") << "rec stop"
                           << "" << QStringList { "RecordingStarted", "RecordingSaved" };
    // Stop pressed again on the hidden button saves nothing new to tell.
    QTest::newRow("stop twice") << "rec stop stop"
                                << "" << QStringList { "RecordingStarted", "RecordingSaved" };
    QTest::newRow("playback with a pause") << "rec stop play pause play stop"
                                           << ""
                                           << QStringList { "RecordingStarted", "RecordingSaved", "PlaybackStarted",
                                                  "PlaybackPaused", "PlaybackStarted", "PlaybackEnded" };
    QTest::newRow("stopped while paused")
        << "rec stop play pause stop"
        << ""
        << QStringList { "RecordingStarted", "RecordingSaved", "PlaybackStarted", "PlaybackPaused", "PlaybackEnded" };
    QTest::newRow("listening") << "listen listen"
                               << "" << QStringList { "ListeningStarted", "ListeningEnded" };
    QTest::newRow("listening saves the take first")
        << "rec listen"
        << "" << QStringList { "RecordingStarted", "RecordingSaved", "ListeningStarted" };
    QTest::newRow("save fails") << "rec stop"
                                << "save" << QStringList { "RecordingStarted", "SaveFailed" };
    QTest::newRow("start fails") << "rec"
                                 << "record" << QStringList { "RecordFailed" };
}

void TestRecorder::changesAreToldToAListener()
{
    QFETCH(QString, actions);
    QFETCH(QString, failing);
    QFETCH(QStringList, events);
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    f.recorder->SetExampleDuration(4);
    if (failing == "save")
        f.audio.saveReply = WaveAudio::ErrorPrefix + "disk full";
    if (failing == "record")
        f.audio.recordReply = WaveAudio::ErrorPrefix + "no input device";
    QStringList heard;
    QObject::connect(f.recorder.get(), &Recorder::StateChanged, [&heard](Recorder::Event event) {
        heard += QString::fromLatin1(QMetaEnum::fromType<Recorder::Event>().valueToKey(int(event)));
        QVERIFY(!Recorder::Announcement(event).isEmpty());
    });
    run(f, actions);
    QCOMPARE(heard, events);
}

void TestRecorder::failedSaveKeepsTheTake()
{
    PracticeFixture f;
    f.audio.saveReply = WaveAudio::ErrorPrefix + "disk full";
    f.recorder->SetCurExample(1);
    run(f, "rec stop");
    const QString journal = f.recording(".3-2-1.wav.journal");
    QCOMPARE(f.dialogs.size(), 1);
    QVERIFY(f.dialogs.first().startsWith(
        QStringLiteral("تعذر حفظ التسجيل، تأكد أن مجلد التسجيلات موجود وقابل للكتابة") + "\r\n"));
    QVERIFY2(f.dialogs.first().endsWith(Recorder::KeptInRecMessage), qPrintable(f.dialogs.first()));
    QVERIFY(f.announced.last().contains(journal));
    // The take stays with the device, which keeps it; the strip is at rest.
    QVERIFY(!f.audio.commands.contains("close capture"));
    QVERIFY(f.recorder->HasPendingTake());
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));

    // Still failing, and the disk has cut the journal short: the take is
    // whole in memory only, and no new take starts in its place.
    f.audio.journalled = "300";
    f.audio.commands.clear();
    f.recorder->SetCurExample(2);
    f.c.Arec->press();
    QCOMPARE(f.audio.commands, QStringList({ "save capture " + f.recording("3-2-1.wav"), "status capture journal" }));
    QCOMPARE(f.dialogs.size(), 2);
    QVERIFY(f.dialogs.last().endsWith(Recorder::KeptInMemoryMessage));
    QVERIFY(!f.c.TimerMeter->isActive());

    // Space freed: the next Record saves the kept take under its own name first.
    f.audio.saveReply.clear();
    f.audio.commands.clear();
    QStringList saved;
    QObject::connect(
        f.recorder.get(), &Recorder::TakeSaved, [&saved](const QString &path, const QString &) { saved << path; });
    f.c.Arec->press();
    QCOMPARE(f.audio.commands.mid(0, 3),
        QStringList(
            { "save capture " + f.recording("3-2-1.wav"), "close capture", "open new type waveaudio alias capture" }));
    QCOMPARE(saved, QStringList { f.recording("3-2-1.wav") });
    QVERIFY(!f.recorder->HasPendingTake());
    QVERIFY(f.c.TimerMeter->isActive());
}

void TestRecorder::shortTakeKeepsThePrevious_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Record and Stop pressed together") << "0" << false;
    QTest::newRow("a double press") << "160" << false;
    QTest::newRow("just under half a second") << "499" << false;
    QTest::newRow("half a second") << "500" << true;
}

void TestRecorder::shortTakeKeepsThePrevious()
{
    QFETCH(QString, length);
    QFETCH(bool, saved);
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    write(f.recording("3-2-1.wav"), "GOOD TAKE");
    QStringList heard;
    QObject::connect(f.recorder.get(), &Recorder::StateChanged, [&heard](Recorder::Event event) {
        heard += QString::fromLatin1(QMetaEnum::fromType<Recorder::Event>().valueToKey(int(event)));
    });
    f.audio.capturePosition = length;
    run(f, "rec stop");
    QCOMPARE(f.audio.commands.contains("save capture " + f.recording("3-2-1.wav")), saved);
    QCOMPARE(f.audio.commands.last(), QStringLiteral("close capture"));
    QFile file(f.recording("3-2-1.wav"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == "GOOD TAKE", !saved);
    QCOMPARE(heard.last(), saved ? QStringLiteral("RecordingSaved") : QStringLiteral("TakeTooShort"));
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));
}

void TestRecorder::recordSilencesEverything_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("the example, started by its choice") << "select";
    QTest::newRow("listening") << "select listen";
    QTest::newRow("the take playing") << "select play";
    QTest::newRow("the take paused") << "select play pause";
}

void TestRecorder::recordSilencesEverything()
{
    QFETCH(QString, before);
    PracticeFixture f;
    write(f.app + "/data/examples/3-2-1.mp3", "ID3");
    write(f.app + "/data/text/3-2-1.txt", "text");
    write(f.recording("3-2-1.wav"), "RIFF");
    f.MP.duration = 3;
    for (const QString &a : before.split(' ')) {
        if (a == "select")
            f.panel->SelectExample(1);
        else
            run(f, a);
    }
    const int silenced = f.silenced;
    f.audio.commands.clear();
    f.c.Arec->press();
    QVERIFY(!f.MP.playing);
    QVERIFY(!f.recorder->Listening());
    // The comparison's stretches (and their pending second half) are the window's.
    QCOMPARE(f.silenced, silenced + 1);
    // A take's playback is closed before the capture opens.
    const qsizetype open = f.audio.commands.indexOf("open new type waveaudio alias capture");
    QVERIFY(open >= 0);
    if (before.contains("play"))
        QVERIFY(f.audio.commands.indexOf("close voice1") >= 0 && f.audio.commands.indexOf("close voice1") < open);
    QCOMPARE(f.recorder->PracticeMode(), Recorder::Mode::Rec);
}

void TestRecorder::journalGoesWhereItCan_data()
{
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QString>("journal"); // rec, fallback or none
    QTest::newRow("beside the take") << QStringList {} << "rec";
    QTest::newRow("takes' folder read-only") << QStringList { "%REC%" } << "fallback";
    QTest::newRow("nowhere: the take is recorded all the same") << QStringList { "%REC%", "%STATE%" } << "none";
}

void TestRecorder::journalGoesWhereItCan()
{
    QFETCH(QStringList, refused);
    QFETCH(QString, journal);
    PracticeFixture f;
    const QString state = f.app + "/state/journals";
    f.recorder->SetJournalFallback(state);
    f.recorder->SetCurExample(1);
    refused.replaceInStrings("%REC%", f.app + "/rec/");
    refused.replaceInStrings("%STATE%", state);
    f.audio.journalRefused = refused;
    f.c.Arec->press();
    QVERIFY(f.c.TimerMeter->isActive());
    QVERIFY(f.audio.commands.contains("record capture"));
    QStringList asked = f.audio.commands.filter("set capture journal ");
    if (journal == "rec")
        QCOMPARE(asked, QStringList { "set capture journal " + f.recording(".3-2-1.wav.journal") });
    else if (journal == "fallback")
        QCOMPARE(asked.last(), "set capture journal " + state + "/.3-2-1.wav.journal");
    else
        QCOMPARE(asked.size(), 2);
    // The take itself is saved in the takes' folder wherever its journal was.
    f.c.Astop->press();
    QVERIFY(f.audio.commands.contains("save capture " + f.recording("3-2-1.wav")));
}

void TestRecorder::stallsEnd_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("a microphone that stops delivering") << "rec";
    QTest::newRow("a playback that stops advancing") << "play";
    QTest::newRow("a reciter's file that never plays") << "listen";
}

void TestRecorder::stallsEnd()
{
    QFETCH(QString, what);
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    f.recorder->SetExampleDuration(10);
    write(f.recording("3-2-1.wav"), "RIFF");
    f.MP.duration = 3;
    f.MP.position = 0.5;
    f.audio.capturePosition = "1200";
    f.audio.voicePosition = "700";
    run(f, what + " tick");
    QVERIFY(f.c.TimerMeter->isActive());
    QTest::qWait(int(Recorder::StallMs) / 2);
    run(f, "tick");
    QVERIFY(f.c.TimerMeter->isActive());
    QTest::qWait(int(Recorder::StallMs) / 2 + 100);
    run(f, "tick");
    QVERIFY(!f.c.TimerMeter->isActive());
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));
    if (what == "rec") {
        // Saved with what it holds, and the learner is told why it ended.
        QVERIFY(f.audio.commands.contains("save capture " + f.recording("3-2-1.wav")));
        QCOMPARE(f.dialogs, QStringList { Recorder::StalledMessage });
    } else if (what == "play") {
        QCOMPARE(f.audio.commands.last(), QStringLiteral("close voice1"));
    } else {
        QVERIFY(!f.recorder->Listening());
        QVERIFY(!f.MP.playing);
    }
}

void TestRecorder::failedStartReturnsToIdle()
{
    PracticeFixture f;
    f.audio.recordReply = WaveAudio::ErrorPrefix + "no input device";
    f.c.Arec->press();
    QCOMPARE(f.dialogs, QStringList { Recorder::RecordFailedMessage });
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));
    QVERIFY(!f.c.TimerMeter->isActive());
    QVERIFY(!f.input.open);
    QCOMPARE(f.audio.commands.last(), QStringLiteral("close capture"));
}

void TestRecorder::listenTwiceRestores()
{
    PracticeFixture f;
    f.MP.duration = 3;
    f.MP.position = 1.2;
    f.c.Alisten->press();
    QCOMPARE(f.MP.plays, 1);
    QVERIFY(f.recorder->Listening());
    QCOMPARE(LookOf(f.c.Alisten->picture()), 'H');
    QCOMPARE(LookOf(f.c.Alisten->activepicture()), 'R');
    QVERIFY(f.input.open);
    f.c.Alisten->press();
    QCOMPARE(f.MP.stops, 1);
    QCOMPARE(f.MP.position, 0.0);
    QVERIFY(!f.recorder->Listening());
    QVERIFY(!f.c.TimerMeter->isActive());
    QVERIFY(!f.input.open);
    QCOMPARE(LookOf(f.c.Alisten->picture()), 'R');
    QCOMPARE(LookOf(f.c.Alisten->activepicture()), 'H');
}

void TestRecorder::listenEndsByItself()
{
    PracticeFixture f;
    f.MP.duration = 3;
    f.MP.position = 0;
    f.c.Alisten->press();
    f.c.vm[1]->show();
    f.MP.position = 2.9;
    f.recorder->TimerMeterTick();
    QVERIFY(f.recorder->Listening());
    f.MP.position = 3;
    f.recorder->TimerMeterTick();
    QVERIFY(!f.recorder->Listening());
    QVERIFY(!f.c.TimerMeter->isActive());
    QCOMPARE(f.MP.position, 0.0);
    QVERIFY(!f.c.vm[1]->isVisibleTo(&f.host));
    QCOMPARE(LookOf(f.c.Alisten->picture()), 'R');
}

void TestRecorder::listenFinishesATakeFirst_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("ended");
    QTest::newRow("recording") << "rec"
                               << "close capture";
    QTest::newRow("playing") << "play"
                             << "close voice1";
    QTest::newRow("paused") << "play pause"
                            << "close voice1";
}

void TestRecorder::listenFinishesATakeFirst()
{
    QFETCH(QString, before);
    QFETCH(QString, ended);
    PracticeFixture f;
    f.recorder->SetCurExample(1);
    write(f.recording("3-2-1.wav"), "RIFF");
    f.MP.duration = 3;
    run(f, before + " listen");
    QCOMPARE(f.audio.commands.last(), ended);
    if (before == "rec")
        QVERIFY(f.audio.commands.contains("save capture " + f.recording("3-2-1.wav")));
    QCOMPARE(f.recorder->PracticeMode(), Recorder::Mode::Listen);
    QVERIFY(f.recorder->Listening());
    QCOMPARE(buttons(f), QStringLiteral("P..R+"));
}

void TestRecorder::shutdownKeepsTheTake_data()
{
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<QString>("journal"); // whole, short (a full disk) or none (no folder took one)
    QTest::addColumn<QStringList>("keepRefused"); // folders that cannot take the take from memory
    QTest::addColumn<QString>("keptAt"); // where the take from memory went: -, rec, state
    QTest::addColumn<bool>("secured");
    QTest::newRow("saved") << false << "whole" << QStringList {} << "-" << true;
    QTest::newRow("its journal is whole") << true << "whole" << QStringList {} << "-" << true;
    QTest::newRow("a short journal, written whole beside it") << true << "short" << QStringList {} << "rec" << true;
    QTest::newRow("no journal, rec full: the state folder")
        << true << "none" << QStringList { "%REC%" } << "state" << true;
    QTest::newRow("nowhere takes it") << true << "short" << QStringList { "%REC%", "%STATE%" } << "-" << false;
}

void TestRecorder::shutdownKeepsTheTake()
{
    QFETCH(bool, saveFails);
    QFETCH(QString, journal);
    QFETCH(QStringList, keepRefused);
    QFETCH(QString, keptAt);
    QFETCH(bool, secured);
    PracticeFixture f;
    const QString state = f.app + "/state/journals";
    f.recorder->SetJournalFallback(state);
    f.recorder->SetCurExample(3);
    if (saveFails)
        f.audio.saveReply = WaveAudio::ErrorPrefix + "disk full";
    if (journal == "short")
        f.audio.journalled = "300";
    if (journal == "none")
        f.audio.journalRefused = QStringList { f.app + "/rec/", state };
    keepRefused.replaceInStrings("%REC%", f.app + "/rec/");
    keepRefused.replaceInStrings("%STATE%", state);
    f.audio.keepRefused = keepRefused;
    f.c.Arec->press();
    QCOMPARE(f.recorder->Shutdown(), secured);
    QVERIFY(!f.c.TimerMeter->isActive());
    QVERIFY(!f.input.open);
    QCOMPARE(QFile::exists(f.recording("3-2-3.wav")), !saveFails);
    const QStringList kept = f.audio.commands.filter("keep capture ");
    if (keptAt == "-") {
        QVERIFY(secured ? kept.isEmpty() : kept.size() == 2);
        return;
    }
    // The journal a full disk cut short is not the name the whole take takes.
    const QString expected = keptAt == "rec" ? f.recording(".3-2-3.wav.2.journal") : state + "/.3-2-3.wav.journal";
    QCOMPARE(kept.last(), "keep capture " + expected);
    QVERIFY(f.announced.last().contains(expected));
}

void TestRecorder::meterFollowsTheRecording()
{
    PracticeFixture f;
    f.recorder->SetExampleDuration(10);
    f.c.Arec->press();
    QVERIFY(f.input.open);
    QByteArray loud(WaveInput::BufferSize, char(128));
    loud[3] = char(128 + 50); // level 50: four segments
    f.input.arriving << loud;
    f.recorder->TimerMeterTick();
    QVERIFY(f.c.vm[4]->isVisibleTo(&f.host));
    QVERIFY(!f.c.vm[5]->isVisibleTo(&f.host));
    f.c.Astop->press();
    QVERIFY(!f.c.vm[1]->isVisibleTo(&f.host));
    QVERIFY(!f.input.open);
}

QTEST_MAIN(TestRecorder)
#include "test_recorder.moc"
