// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakes.h"
#include "mixer/mixercontrols.h"
#include "mixer/mvolume.h"
#include "mixer/volumecontrols.h"
#include "mixerskin.h"
#include "sound/alsa/alsamixerdevice.h"
#include "sound/core/softwarevolume.h"
#include "widgets/activelink.h"
#include "widgets/levelslider.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QString pactl(const QStringList &args)
{
    QProcess p;
    p.start("pactl", args);
    if (!p.waitForFinished(5000) || p.exitCode() != 0)
        return QStringLiteral("pactl %1 failed: %2").arg(args.join(' '), QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The first channel's percentage in pactl's "front-left: 13107 /  20% / ..." line.
int Percent(const QString &volume)
{
    const QRegularExpressionMatch m = QRegularExpression(R"(/\s*(\d+)%)").match(volume);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int SinkPercent()
{
    return Percent(pactl({ "get-sink-volume", "@DEFAULT_SINK@" }));
}

int SourcePercent()
{
    return Percent(pactl({ "get-source-volume", "@DEFAULT_SOURCE@" }));
}

bool SourceMuted()
{
    return pactl({ "get-source-mute", "@DEFAULT_SOURCE@" }).contains("yes");
}

// The sound controls on the real mixer of the test's sound server.
struct Fixture
{
    QTemporaryDir dir;
    QWidget main;
    SoftwareVolume programVolume;
    AlsaMixerDevice device { &programVolume };
    RecordingMessages messages;
    MixerControls c;
    MVolume mvolume;
    VolumeControls volume;

    Fixture()
        : c(CreateMixerControls(&main))
        , mvolume(&device, &messages)
        , volume(c, mvolume, &device)
    {
        WriteMixerSkin(dir.path() + "/Images/");
        volume.LoadSkin(dir.path() + "/Images/", 0);
        volume.InitVolumeDisplay();
    }
};

} // namespace

// The mixer through ALSA's `default` device, which the sound server's plugin
// serves, read back and changed with pactl as another mixer program would.
class TestSystemMixer final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void silentMasterIsRaisedAtStart_data();
    void silentMasterIsRaisedAtStart();
    void microphoneBarClickReachesTheSource();
    void muteTogglesReachTheSoundServer();
    void barsFollowPactl();
    void rowsComeBackWithTheSoundServer_data();
    void rowsComeBackWithTheSoundServer();
    void cleanupTestCase();
};

void TestSystemMixer::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        QSKIP("needs the sound server that test.sh starts");
    QVERIFY2(!QStandardPaths::findExecutable("pactl").isEmpty(), "pactl is needed: run scripts/install-deps test");
    QVERIFY2(SinkPercent() >= 0, "the test sound server does not answer");
}

// The sound server outlives this test: later tests record through it at full level.
void TestSystemMixer::cleanupTestCase()
{
    pactl({ "set-sink-volume", "@DEFAULT_SINK@", "100%" });
    pactl({ "set-source-volume", "@DEFAULT_SOURCE@", "100%" });
    pactl({ "set-source-mute", "@DEFAULT_SOURCE@", "0" });
}

void TestSystemMixer::silentMasterIsRaisedAtStart_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("silent") << 0 << 20;
    QTest::newRow("quiet") << 7 << 7;
    QTest::newRow("full") << 100 << 100;
}

void TestSystemMixer::silentMasterIsRaisedAtStart()
{
    QFETCH(int, before);
    QFETCH(int, after);
    pactl({ "set-sink-volume", "@DEFAULT_SINK@", QString::number(before) + "%" });
    QCOMPARE(SinkPercent(), before);
    Fixture f;
    QVERIFY(f.device.IsOpen());
    QVERIFY(f.messages.boxes.isEmpty());
    QCOMPARE(f.volume.MasterLevel, before);
    QCOMPARE(SinkPercent(), after);
}

void TestSystemMixer::microphoneBarClickReachesTheSource()
{
    pactl({ "set-source-volume", "@DEFAULT_SOURCE@", "45%" });
    Fixture f;
    QCOMPARE(f.volume.MicLevel, 45);
    QCOMPARE(LitBars(f.c.Immic), 4);
    f.c.Immic[3]->press();
    QTRY_VERIFY_WITH_TIMEOUT(!f.c.VolTimer->isActive(), 5000);
    QCOMPARE(SourcePercent(), 30);
    QCOMPARE(LitBars(f.c.Immic), 3);
    f.c.micup->press();
    QCOMPARE(SourcePercent(), 35);
}

void TestSystemMixer::muteTogglesReachTheSoundServer()
{
    pactl({ "set-source-mute", "@DEFAULT_SOURCE@", "0" });
    Fixture f;
    f.c.MicIcon->press();
    QVERIFY(SourceMuted());
    QCOMPARE(SkinFileOf(f.c.MicIcon->picture()), QString("MicMute.jpg"));
    f.c.MicIcon->press();
    QVERIFY(!SourceMuted());
    QCOMPARE(SkinFileOf(f.c.MicIcon->picture()), QString("MicVol.jpg"));
    // The server's plugin has no control for the program's sound: the
    // program's own output line stands in for it.
    f.c.WaveIcon->press();
    QVERIFY(f.programVolume.muted());
    QCOMPARE(SkinFileOf(f.c.WaveIcon->picture()), QString("WaveMute.jpg"));
    f.c.voldown->press();
    QCOMPARE(f.programVolume.volume(), f.volume.WaveLevel);
}

void TestSystemMixer::barsFollowPactl()
{
    pactl({ "set-source-volume", "@DEFAULT_SOURCE@", "20%" });
    pactl({ "set-source-mute", "@DEFAULT_SOURCE@", "0" });
    Fixture f;
    QCOMPARE(LitBars(f.c.Immic), 2);
    pactl({ "set-source-volume", "@DEFAULT_SOURCE@", "70%" });
    QTRY_COMPARE_WITH_TIMEOUT(LitBars(f.c.Immic), 7, 3000);
    QCOMPARE(f.volume.MicLevel, 70);
    pactl({ "set-source-mute", "@DEFAULT_SOURCE@", "1" });
    QTRY_COMPARE_WITH_TIMEOUT(SkinFileOf(f.c.MicIcon->picture()), QString("MicMute.jpg"), 3000);
    pactl({ "set-source-mute", "@DEFAULT_SOURCE@", "0" });
    QTRY_COMPARE_WITH_TIMEOUT(SkinFileOf(f.c.MicIcon->picture()), QString("MicVol.jpg"), 3000);
}

namespace {

// A sound server of the test's own, which it stops and starts under the
// mixer; the one the other tests use is left alone.
class OwnServer
{
public:
    OwnServer()
        : m_oldServer(qgetenv("PULSE_SERVER"))
        , m_oldRuntime(qgetenv("XDG_RUNTIME_DIR"))
    {
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile pa(m_dir.filePath("own.pa"));
        if (pa.open(QIODevice::WriteOnly))
            pa.write("load-module module-native-protocol-unix auth-anonymous=1\n"
                     "load-module module-null-sink sink_name=ownsink\n"
                     "load-module module-remap-source master=ownsink.monitor source_name=ownmic\n"
                     "set-default-sink ownsink\nset-default-source ownmic\n");
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
        qputenv("PULSE_SERVER", ("unix:" + m_dir.filePath("pulse/native")).toLocal8Bit());
    }
    ~OwnServer()
    {
        Stop();
        qputenv("PULSE_SERVER", m_oldServer);
        qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
    }
    bool Start()
    {
        QProcess daemon;
        // Off every session bus: a daemon that finds the bus's sound-server
        // name taken (by a desktop's own server) refuses to start, and one
        // without a bus address finds the display's bus through X11.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        env.remove("DISPLAY");
        daemon.setProcessEnvironment(env);
        daemon.start("pulseaudio",
            { "-D", "-n", "-F", m_dir.filePath("own.pa"), "--exit-idle-time=-1", "--disallow-exit",
                "--use-pid-file=yes", "--log-target=file:" + m_dir.filePath("pulse.log") });
        if (!daemon.waitForFinished(10000) || daemon.exitCode() != 0)
            return false;
        return QTest::qWaitFor([] { return SourcePercent() >= 0; }, 5000);
    }
    void Stop()
    {
        QFile pidFile(m_dir.filePath("pulse/pid"));
        if (!pidFile.open(QIODevice::ReadOnly))
            return;
        const QByteArray pid = pidFile.readAll().trimmed();
        if (pid.isEmpty())
            return;
        QProcess::execute("kill", { QString::fromLatin1(pid) });
        (void)QTest::qWaitFor([&] { return !QFile::exists("/proc/" + pid); }, 5000);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldServer;
    QByteArray m_oldRuntime;
};

bool RowsEnabled(const MixerControls &c)
{
    return c.Imvol[1]->isEnabled() && c.Immic[10]->isEnabled() && c.WaveIcon->isEnabled() && c.MicIcon->isEnabled()
        && c.micup->isEnabled() && c.volup->isEnabled();
}

} // namespace

void TestSystemMixer::rowsComeBackWithTheSoundServer_data()
{
    QTest::addColumn<bool>("upAtStart");
    QTest::newRow("restarted while running") << true;
    QTest::newRow("started after the program") << false;
}

// The mixer went with its sound server and was never opened again: both rows
// stayed at 0 % and disabled for the rest of the run.
void TestSystemMixer::rowsComeBackWithTheSoundServer()
{
    QFETCH(bool, upAtStart);
    OwnServer server;
    if (upAtStart) {
        QVERIFY2(server.Start(), "the test's own sound server did not start");
        pactl({ "set-source-volume", "@DEFAULT_SOURCE@", "40%" });
    }
    Fixture f;
    if (upAtStart) {
        QVERIFY(RowsEnabled(f.c));
        QCOMPARE(f.volume.MicLevel, 40);
        server.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(!RowsEnabled(f.c), 5000);
    } else {
        QVERIFY(!RowsEnabled(f.c));
    }
    QCOMPARE(LitBars(f.c.Immic), 0);

    QVERIFY2(server.Start(), "the test's own sound server did not start again");
    QElapsedTimer back;
    back.start();
    pactl({ "set-source-volume", "@DEFAULT_SOURCE@", "70%" });
    QTRY_VERIFY_WITH_TIMEOUT(RowsEnabled(f.c), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(LitBars(f.c.Immic), 7, 2000);
    qInfo("the rows came back %lld ms after the server answered", back.elapsed());
    QCOMPARE(f.volume.MicLevel, SourcePercent());
    // The program's own line is back too, and a step reaches the server.
    QVERIFY(f.c.WaveSlider->isEnabled());
    f.c.micup->press();
    QCOMPARE(SourcePercent(), 75);
}

QTEST_MAIN(TestSystemMixer)
#include "test_system_mixer.moc"
