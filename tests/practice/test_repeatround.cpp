// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/repeatround.h"
#include "widgets/activelink.h"

#include <QtTest>

namespace {

// A learner and a recorder in a room, on a clock the test moves: the reciter
// sounds for a second, the turn's first moments hear the room, then the
// learner's voice for a while, then the room again.
struct Room
{
    qint64 t = 0;
    int noise = 2;
    int voice = 40;
    qint64 voiceFrom = 400; // ms into the turn
    qint64 voiceMs = 1000;
    qint64 limitMs = 8000; // the recorder's own limit
    // A device that has just opened gives no reading at all for a moment.
    qint64 silentMs = 0;
    // False: the recorder keeps no take of the turn (too short, a full disk).
    bool saves = true;
    QString whyNotSaved;
    qint64 reciterEnds = -1;
    qint64 takeFrom = -1;
    bool takeRunning = false;
    qint64 playbackEnds = -1;
    int reciters = 0, takes = 0, stops = 0, playbacks = 0, halts = 0, spoken = 0;
    QStringList said;
    qint64 stoppedAt = -1; // ms into the turn
    RepeatRound *round = nullptr; // told of each saved take, as the recorder's signal tells it

    RepeatRound::Callouts callouts()
    {
        RepeatRound::Callouts c;
        c.Now = [this] { return t; };
        c.PlayReciter = [this] {
            ++reciters;
            reciterEnds = t + 1000;
        };
        c.ReciterPlaying = [this] { return t < reciterEnds; };
        c.PlayCue = [] {};
        c.StartTake = [this] {
            ++takes;
            takeFrom = t;
            takeRunning = true;
            return true;
        };
        c.Level = [this] {
            const qint64 in = t - takeFrom;
            if (in < silentMs)
                return -1;
            return in >= voiceFrom && in < voiceFrom + voiceMs ? voice : noise;
        };
        c.TakeRunning = [this] {
            if (takeRunning && t - takeFrom >= limitMs) {
                takeRunning = false;
                round->NoteTakeSaved();
            }
            return takeRunning;
        };
        c.StopTake = [this] {
            ++stops;
            stoppedAt = t - takeFrom;
            takeRunning = false;
            if (saves)
                round->NoteTakeSaved();
        };
        c.NotSavedReason = [this] { return whyNotSaved; };
        c.PlayTake = [this] {
            ++playbacks;
            playbackEnds = t + 500;
            return true;
        };
        c.TakePlaying = [this] { return t < playbackEnds; };
        c.ComparisonPending = [] { return false; };
        c.SpeakComparison = [this] { ++spoken; };
        c.Halt = [this] {
            ++halts;
            takeRunning = false;
            reciterEnds = playbackEnds = -1;
        };
        c.Announce = [this](const QString &text) { said << text; };
        return c;
    }

    // Ticks as the timer would until the round is idle or phase is reached.
    void run(RepeatRound &round, qint64 ms, RepeatRound::Phase until = RepeatRound::Phase::Idle)
    {
        for (const qint64 end = t + ms; t < end && round.Running(); t += RepeatRound::TickMs) {
            round.Tick();
            if (round.CurrentPhase() == until && until != RepeatRound::Phase::Idle)
                return;
        }
    }
};

} // namespace

class TestRepeatRound final : public QObject
{
    Q_OBJECT
private slots:
    void theTurnEndsAfterTheLearnersSilence_data();
    void theTurnEndsAfterTheLearnersSilence();
    void anEndLeavesNothingRunning_data();
    void anEndLeavesNothingRunning();
    void roundsRunAsChosen_data();
    void roundsRunAsChosen();
    void anUnsavedTurnSpeaksNoComparison_data();
    void anUnsavedTurnSpeaksNoComparison();
    void aHeldRoundWaitsForTheMessage();
};

void TestRepeatRound::anUnsavedTurnSpeaksNoComparison_data()
{
    QTest::addColumn<QString>("why");
    QTest::newRow("the recorder says why") << QStringLiteral("لم يُحفظ التسجيل لأنه أقصر من نصف ثانية");
    QTest::newRow("no reason known") << QString();
}

// The comparison on show is an older take's: a turn with nothing saved must
// not be answered with it.
void TestRepeatRound::anUnsavedTurnSpeaksNoComparison()
{
    QFETCH(QString, why);
    Room room;
    room.saves = false;
    room.whyNotSaved = why;
    RepeatRound round(nullptr, room.callouts());
    room.round = &round;
    round.StepRounds(-1);
    round.Start();
    room.run(round, 20000);
    QVERIFY(!round.Running());
    QCOMPARE(room.stops, 1);
    QCOMPARE(room.playbacks, 0);
    QCOMPARE(room.spoken, 0);
    const QString told = RepeatRound::NotSaved + (why.isEmpty() ? QString() : QStringLiteral("، ") + why);
    QVERIFY2(room.said.contains(told), qPrintable(room.said.join(" | ")));
}

// A modal message in the middle of a turn: the time the learner spends
// reading it is no silence after their voice.
void TestRepeatRound::aHeldRoundWaitsForTheMessage()
{
    Room room;
    RepeatRound round(nullptr, room.callouts());
    room.round = &round;
    round.StepRounds(-1);
    round.Start();
    room.run(round, 5000, RepeatRound::Phase::Turn);
    room.run(round, room.voiceFrom + room.voiceMs + 100); // heard, and just fallen silent
    QCOMPARE(room.stops, 0);
    round.Hold();
    QVERIFY(round.Held());
    room.t += 5000;
    round.Resume();
    QVERIFY(!round.Held());
    round.Tick();
    QCOMPARE(round.CurrentPhase(), RepeatRound::Phase::Turn);
    QCOMPARE(room.stops, 0);
}

void TestRepeatRound::theTurnEndsAfterTheLearnersSilence_data()
{
    QTest::addColumn<int>("noise");
    QTest::addColumn<int>("voice");
    QTest::addColumn<int>("voiceMs");
    QTest::addColumn<int>("voiceFrom"); // ms into the turn
    QTest::addColumn<int>("stoppedAt"); // ms into the turn; -1: the recorder's limit ended it unheard
    QTest::addColumn<int>("silentMs"); // the input's first moments without any reading
    // Voice for voiceMs from voiceFrom: the silence rule ends the take 1.2 s later.
    QTest::newRow("a quiet room") << 2 << 40 << 1000 << 400 << 2600 << 0;
    QTest::newRow("a noisy room, a voice above it") << 30 << 60 << 1000 << 400 << 2600 << 0;
    QTest::newRow("a noisy room's noise is not a voice") << 30 << 40 << 1000 << 400 << -1 << 0;
    QTest::newRow("a silent room, a whisper below any voice") << 0 << 5 << 1000 << 400 << -1 << 0;
    QTest::newRow("a cough is not speech") << 2 << 40 << 100 << 400 << -1 << 0;
    // The room is heard in the turn's first 300 ms; a learner already
    // speaking there must not be taken for the room.
    QTest::newRow("a learner who starts at once") << 2 << 40 << 1000 << 100 << 2300 << 0;
    QTest::newRow("a noisy room, a learner who starts at once") << 30 << 60 << 1000 << 100 << 2300 << 0;
    QTest::newRow("a long reading runs to the limit") << 2 << 40 << 9000 << 400 << 8000 << 0;
    // The room's floor is its first real readings, not the device's first
    // empty moments: a fan or a classroom read as silence would be a voice.
    QTest::newRow("a fan, the input silent at first") << 30 << 60 << 1000 << 400 << 2600 << 100;
    QTest::newRow("a classroom, the input silent at first") << 18 << 45 << 1000 << 400 << 2600 << 100;
    QTest::newRow("a quiet room, the input silent at first") << 2 << 40 << 1000 << 400 << 2600 << 100;
    QTest::newRow("a fan, a learner who starts at once") << 30 << 60 << 1000 << 150 << 2350 << 100;
    // A loaded machine: the input gives its first reading well over a second
    // into the turn, and the room is still measured from it.
    QTest::newRow("a fan, the input slow to wake") << 30 << 60 << 1000 << 1900 << 4100 << 1500;
}

void TestRepeatRound::theTurnEndsAfterTheLearnersSilence()
{
    QFETCH(int, noise);
    QFETCH(int, voice);
    QFETCH(int, voiceMs);
    QFETCH(int, voiceFrom);
    QFETCH(int, stoppedAt);
    QFETCH(int, silentMs);
    Room room;
    room.silentMs = silentMs;
    room.noise = noise;
    room.voice = voice;
    room.voiceMs = voiceMs;
    room.voiceFrom = voiceFrom;
    RepeatRound round(nullptr, room.callouts());
    room.round = &round;
    round.StepRounds(-1); // one round
    round.Start();
    room.run(round, 20000);
    QVERIFY(!round.Running());
    QCOMPARE(room.takes, 1);
    if (stoppedAt < 0) {
        QCOMPARE(room.stops, 0);
        QCOMPARE(room.playbacks, 0);
        QCOMPARE(room.said.last(), RepeatRound::NotHeard);
    } else if (stoppedAt >= room.limitMs) {
        // The recorder saved it at its limit; the round plays it back.
        QCOMPARE(room.stops, 0);
        QCOMPARE(room.playbacks, 1);
    } else {
        QCOMPARE(room.stops, 1);
        QVERIFY2(
            std::abs(room.stoppedAt - stoppedAt) <= RepeatRound::TickMs, qPrintable(QString::number(room.stoppedAt)));
        QCOMPARE(room.playbacks, 1);
        QCOMPARE(room.spoken, 1);
        QCOMPARE(room.said.last(), RepeatRound::RoundsDone);
    }
}

void TestRepeatRound::anEndLeavesNothingRunning_data()
{
    QTest::addColumn<RepeatRound::Phase>("phase");
    QTest::addColumn<bool>("byTheControl"); // a second press on the round's own button
    QTest::newRow("while the reciter sounds") << RepeatRound::Phase::Reciter << false;
    QTest::newRow("at the cue") << RepeatRound::Phase::Cue << false;
    QTest::newRow("in the learner's turn") << RepeatRound::Phase::Turn << false;
    QTest::newRow("in the turn, by the control") << RepeatRound::Phase::Turn << true;
    QTest::newRow("while the take plays back") << RepeatRound::Phase::Playback << false;
    QTest::newRow("between rounds") << RepeatRound::Phase::Pause << true;
}

// Every press that ends the rounds (Record, Stop, Listen, an example, a lesson
// end them through End) halts what sounds or records once, and nothing of the
// round starts again afterwards.
void TestRepeatRound::anEndLeavesNothingRunning()
{
    QFETCH(RepeatRound::Phase, phase);
    QFETCH(bool, byTheControl);
    Room room;
    ActiveLink control;
    RepeatRound round(&control, room.callouts());
    room.round = &round;
    control.press();
    QVERIFY(round.Running());
    QCOMPARE(control.accessibleFlags().testFlag(ActiveLink::Checked), true);
    room.run(round, 20000, phase);
    QCOMPARE(round.CurrentPhase(), phase);
    const int reciters = room.reciters, takes = room.takes, playbacks = room.playbacks;
    if (byTheControl)
        control.press();
    else
        round.End();
    QVERIFY(!round.Running());
    QCOMPARE(room.halts, 1);
    QVERIFY(!room.takeRunning);
    QCOMPARE(control.accessibleFlags().testFlag(ActiveLink::Checked), false);
    for (int i = 0; i < 100; ++i, room.t += RepeatRound::TickMs)
        round.Tick();
    round.End();
    QCOMPARE(room.halts, 1);
    QCOMPARE(room.reciters, reciters);
    QCOMPARE(room.takes, takes);
    QCOMPARE(room.playbacks, playbacks);
}

void TestRepeatRound::roundsRunAsChosen_data()
{
    QTest::addColumn<int>("step"); // arrows on the control from its first choice
    QTest::addColumn<int>("rounds"); // 0: until stopped
    QTest::addColumn<QString>("value");
    QTest::newRow("one") << -1 << 1 << QStringLiteral("مرة واحدة");
    QTest::newRow("past the first choice stays there") << -2 << 1 << QStringLiteral("مرة واحدة");
    QTest::newRow("three, the first choice") << 0 << 3 << QStringLiteral("٣ مرات");
    QTest::newRow("five") << 1 << 5 << QStringLiteral("٥ مرات");
    QTest::newRow("until stopped") << 2 << 0 << QStringLiteral("حتى الإيقاف");
    QTest::newRow("past the last choice stays there") << 3 << 0 << QStringLiteral("حتى الإيقاف");
}

void TestRepeatRound::roundsRunAsChosen()
{
    QFETCH(int, step);
    QFETCH(int, rounds);
    QFETCH(QString, value);
    Room room;
    ActiveLink control;
    RepeatRound round(&control, room.callouts());
    room.round = &round;
    for (int i = 0; i < std::abs(step); ++i)
        emit control.Adjust(step > 0 ? 1 : -1);
    QCOMPARE(round.Rounds(), rounds);
    QCOMPARE(control.accessibleValue(), value);
    round.Start();
    room.run(round, 60000);
    if (rounds == 0) {
        // About five seconds a round: a minute holds many, and it goes on.
        QVERIFY(round.Running());
        QVERIFY2(room.reciters > 5, qPrintable(QString::number(room.reciters)));
        QVERIFY(room.playbacks >= room.reciters - 1);
        return;
    }
    QVERIFY(!round.Running());
    QCOMPARE(room.reciters, rounds);
    QCOMPARE(room.takes, rounds);
    QCOMPARE(room.playbacks, rounds);
    QCOMPARE(room.spoken, rounds);
    QCOMPARE(room.said.last(), RepeatRound::RoundsDone);
}

QTEST_MAIN(TestRepeatRound)
#include "test_repeatround.moc"
