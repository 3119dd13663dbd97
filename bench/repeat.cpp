// SPDX-License-Identifier: GPL-3.0-or-later

// "Repeat after me" and the slower reciter in the real window on the demo
// course, with the real player, recorder and sound server:
//   - per speed, Listen pressed to the example reaching the sound server, the
//     first time at that speed (the slowed sound is made then) and again;
//   - the program's CPU share while a round waits for the learner to speak;
//   - from the end of the learner's speech (a tone played into the microphone)
//     to the take playing back, of which 1.2 s is the silence rule.
// Run under the test services: eval "$(scripts/test-services start)".
#include "app/mainwindow.h"
#include "app/processsetup.h"
#include "menu/menucontrols.h"
#include "practice/practicecontrols.h"
#include "practice/practicesession.h"
#include "practice/reciterspeed.h"
#include "practice/recorder.h"
#include "practice/repeatround.h"
#include "sound/program/mediabackend.h"
#include "soundprobe.h"
#include "widgets/activelink.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <ctime>

static double CpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char *argv[])
{
    ChooseMediaBackend();
    QApplication app(argc, argv);
    SetUpApplication();
    QTextStream out(stdout);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    QTemporaryDir learner;
    SinkProbe probe;
    // The sound library from the application folder, as the program finds it beside itself.
    Platform platform;
    platform.soundFolders = { QStringLiteral(RATTIL_APP_DIR) };
    MainWindow window(folder, platform);
    window.SetLearnerFolders(learner.path(), learner.path());
    window.Load();
    window.show();
    probe.WaitForQuiet(500, 8000); // the welcome chime

    // Chapter 3, lesson 1: three examples, each a few seconds of voice.
    window.menuControls.ImenuL[3]->press();
    WaitFor([] { return false; }, 300);
    window.menuControls.Alink[1]->press();
    probe.WaitForQuiet(700, 15000); // example 1, which starts by itself

    const PracticeControls &p = window.practiceControls;
    for (const int percent : ReciterSpeed::Percents) {
        window.practice->Speed().SetPercent(percent);
        double first = -1, again = -1;
        for (double *figure : { &first, &again }) {
            probe.Drain();
            const double pressed = BenchNowMs();
            p.Alisten->press();
            double sounded = -1;
            WaitFor([&] { return (sounded = probe.Loud(20)) >= 0; }, 5000);
            *figure = sounded >= 0 ? sounded - pressed : -1;
            WaitFor([] { return false; }, 500);
            if (window.practice->TheRecorder().Listening())
                p.Alisten->press(); // Listen again stops it
            probe.WaitForQuiet(400, 5000);
        }
        out << "speed_" << percent << "_listen_to_sound_ms first=" << first << " again=" << again << Qt::endl;
    }

    // For comparison: the window at rest, and a take recorded by hand.
    // Measured in a plain event loop: the benches' WaitFor polls, and its own
    // polling would be counted as the program's.
    auto cpuOver = [](int ms) {
        const double cpu = CpuMs(), wall = BenchNowMs();
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        return 100.0 * (CpuMs() - cpu) / (BenchNowMs() - wall);
    };
    const double restCpu = cpuOver(2000);
    p.Arec->press();
    WaitFor([] { return false; }, 300);
    const double recordingCpu = cpuOver(2000);
    p.Astop->press();
    WaitFor([] { return false; }, 500);
    out << "rest_cpu_percent=" << restCpu << " recording_by_hand_cpu_percent=" << recordingCpu << Qt::endl;

    window.practice->Speed().SetPercent(100);
    window.practice->Round().StepRounds(-1); // one round
    p.Arepeat->press();
    if (!WaitFor([&] { return window.practice->Round().CurrentPhase() == RepeatRound::Phase::Turn; }, 20000)) {
        out << "the learner's turn never came" << Qt::endl;
        return 1;
    }
    // The room is silent: three seconds of waiting for the learner.
    const double waitingCpu = cpuOver(3000);
    // Only a silence after speech ends the turn: the learner speaks now.
    QProcess tone;
    tone.start(QStringLiteral("bash"),
        { QStringLiteral("-c"),
            QStringLiteral("sox -n -r 44100 -c 2 -t raw -e signed -b 16 - synth 1.5 sine 440 vol 0.6 | "
                           "pacat --playback --raw --latency-msec=30") });
    WaitFor([&] { return tone.state() == QProcess::NotRunning; }, 10000);
    const double spoken = BenchNowMs();
    double playing = -1;
    WaitFor([&] { return window.practice->TheRecorder().PlayingTake() && (playing = BenchNowMs()) > 0; }, 10000);
    probe.Drain();
    double heard = -1;
    WaitFor([&] { return (heard = probe.Loud(20)) >= 0; }, 5000);
    out << "round_waiting_cpu_percent=" << waitingCpu << Qt::endl;
    out << "round_speech_end_to_take_playing_ms=" << (playing > 0 ? playing - spoken : -1.0)
        << " to_its_voice_heard_ms=" << (heard >= 0 ? heard - spoken : -1.0)
        << " silence_rule_ms=" << RepeatRound::SilenceMs << Qt::endl;
    window.practice->Round().End();
    window.close();
    return playing > 0 ? 0 : 1;
}
