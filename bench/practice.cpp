// SPDX-License-Identifier: GPL-3.0-or-later

// Practice figures on the real sound server: example click to sound, the
// recording's stop against its limit, sound to lit meter segments, the longest
// stall of the window's thread while recording, CPU idle and while recording.
// Run under the test services: eval "$(scripts/test-services start)".
#include "base/settings.h"
#include "practice/examplespanel.h"
#include "practice/practicecontrols.h"
#include "practice/recorder.h"
#include "practice/soundmeter.h"
#include "sound/qt/audioconverter.h"
#include "sound/qt/qtmediaplayer.h"
#include "sound/qt/qtwaveaudio.h"
#include "sound/qt/qtwaveinput.h"
#include "soundprobe.h"
#include "widgets/activelink.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <memory>
#include <sndfile.h>
#include <sys/resource.h>

namespace {

double CpuMs()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double CpuPercentOver(int ms)
{
    const double cpu0 = CpuMs();
    QElapsedTimer t;
    t.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return 100.0 * (CpuMs() - cpu0) / t.elapsed();
}

bool Run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitCode() == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        out << "warning: PULSE_SERVER is not set; run under scripts/test-services" << Qt::endl;
    BenchClock();

    QTemporaryDir dir;
    const QString folder = dir.path();
    QDir().mkpath(folder + "/data/examples");
    // An example that sounds from its first millisecond.
    Run("sox",
        { "-n", "-r", "22050", "-c", "1", "-b", "16", folder + "/tone.wav", "synth", "2", "sine", "440", "vol",
            "0.5" });
    Run("lame", { "--quiet", "-t", "-m", "m", "-b", "64", folder + "/tone.wav", folder + "/data/examples/1-1-1.mp3" });

    QProcess busy;
    busy.start("pacat", { "--playback", "--raw", "--latency-msec=30", "/dev/zero" });
    busy.waitForStarted();

    QWidget host;
    host.resize(786, 632);
    auto *FrameBar = new QWidget(&host);
    FrameBar->setGeometry(0, 535, 775, 40);
    auto *Samples = new QWidget(&host);
    Samples->setGeometry(0, 575, 775, 0);
    Settings settings;
    PracticeControls c = CreatePracticeControls(FrameBar, Samples);
    LoadPracticeSkin(c, QStringLiteral(RATTIL_APP_DIR "/Images/"), settings, QRect(0, 0, 775, 30));
    QtMediaPlayer MP;
    QtWaveAudio audio;
    QtWaveInput input;
    QStringList messages;
    SoundMeter meter(input, c.vm, [&](const QString &t) { messages << t; });
    PagePosition position { 1, 1, 0, false };
    Recorder recorder(c, audio, MP, meter, folder + "/rec/",
        { [&] { return position; }, [&](const QString &t) { messages << t; }, {}, {} });
    ExamplesPanel::Callouts pc;
    pc.PanelClosedTop = [] { return 542; };
    pc.Position = [&] { return position; };
    pc.ShowMessage = [&](const QString &t) { messages << t; };
    pc.ShowMessageBox = [&](const QString &t) { messages << t; };
    ExamplesPanel panel(c, settings, MP, recorder,
        { QStringLiteral(RATTIL_APP_DIR "/Images/"), folder + "/data/examples/", folder + "/data/text/",
            folder + "/data/images/" },
        pc);
    host.show();

    // Warm the server and the player up, as a learner's session would be.
    {
        QtWaveInput warm;
        QString e;
        warm.Open(&e);
        // The window's welcome chime has brought the player up before any lesson.
        QFile::copy(folder + "/data/examples/1-1-1.mp3", folder + "/warm.mp3");
        MP.SetFileName(folder + "/warm.mp3");
        WaitFor([] { return false; }, 800);
        MP.Stop();
    }
    auto probeOwner = std::make_unique<SinkProbe>();
    SinkProbe &probe = *probeOwner;
    WaitFor([] { return false; }, 500);
    probe.Drain();

    // 1. Example click to the first sound reaching the sink.
    double clickToSound = -1;
    {
        const double t0 = BenchNowMs();
        c.SampleN[1]->press();
        double loud = -1;
        WaitFor([&] { return (loud = probe.Loud(20)) >= 0; }, 3000);
        clickToSound = loud >= 0 ? loud - t0 : -1;
        MP.Stop();
        WaitFor([] { return false; }, 400);
        probe.Drain();
    }

    // 2-4. A recording of 2 s in silence, a tone played into it half-way; the
    // meter's reaction, the longest gap between 1 ms ticks, the stop error.
    double soundToSegments = -1;
    // A plain QAudioSink's start to the probe: the sink and monitor's own share
    // of the click-to-sound figure.
    double sinkPathLatency = -1;
    qint64 longestStall = 0;
    double stopError = -1;
    {
        recorder.SetExampleDuration(1);
        QTimer stall;
        stall.setInterval(1);
        QElapsedTimer gap;
        QObject::connect(&stall, &QTimer::timeout, [&] { longestStall = std::max(longestStall, gap.restart()); });
        gap.start();
        stall.start();
        c.Arec->press();
        WaitFor([] { return false; }, 700);

        QAudioFormat f;
        f.setSampleRate(44100);
        f.setChannelCount(1);
        f.setSampleFormat(QAudioFormat::Int16);
        QByteArray tone;
        for (int i = 0; i < 44100; ++i) {
            const qint16 v = qint16(16000 * std::sin(2 * M_PI * 440.0 * i / 44100));
            tone.append(reinterpret_cast<const char *>(&v), 2);
        }
        QBuffer toneBuffer(&tone);
        toneBuffer.open(QIODevice::ReadOnly);
        QAudioSink sink(QMediaDevices::defaultAudioOutput(), f);
        probe.Drain();
        const double toneStart = BenchNowMs();
        sink.start(&toneBuffer);
        double loud = -1;
        double lit = -1;
        WaitFor(
            [&] {
                if (loud < 0)
                    loud = probe.Loud(20);
                if (lit < 0 && c.vm[1]->isVisibleTo(&host))
                    lit = BenchNowMs();
                return loud >= 0 && lit >= 0;
            },
            2000);
        soundToSegments = loud >= 0 && lit >= 0 ? lit - loud : -1;
        sinkPathLatency = loud >= 0 ? loud - toneStart : -1;
        WaitFor([&] { return !c.TimerMeter->isActive(); }, 4000);
        stall.stop();
        sink.stop();

        SF_INFO info {};
        if (SNDFILE *file = sf_open(QFile::encodeName(folder + "/rec/1-1-1.wav").constData(), SFM_READ, &info)) {
            stopError = info.frames * 1000.0 / info.samplerate - recorder.StopAt();
            sf_close(file);
        }
    }

    // 5. CPU while idle, then while recording; the probe's own stream would count.
    probeOwner.reset();
    WaitFor([] { return false; }, 300);
    const double idle = CpuPercentOver(2000);
    recorder.SetExampleDuration(10);
    c.Arec->press();
    const double recording = CpuPercentOver(2000);
    c.Astop->press();

    out << "example_click_to_sound_ms=" << clickToSound << " (target < 150)" << Qt::endl;
    out << "reference_sink_start_to_probe_ms=" << sinkPathLatency << Qt::endl;
    out << "recording_stop_error_ms=" << stopError << " (target within 60)" << Qt::endl;
    out << "sound_to_segments_ms=" << soundToSegments << " (target < 120)" << Qt::endl;
    out << "longest_ui_stall_while_recording_ms=" << longestStall << " (target < 16)" << Qt::endl;
    out << "cpu_idle_percent=" << idle << " cpu_recording_percent=" << recording << " (target idle 0)" << Qt::endl;
    if (!messages.isEmpty())
        out << "messages: " << messages.join(" | ") << Qt::endl;
    busy.kill();
    busy.waitForFinished();
    return 0;
}
