// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/api/soundinfo.h"
#include "sound/core/softwarevolume.h"
#include "sound/program/mediabackend.h"
#include "sound/qt/playbacksinks.h"
#include "sound/qt/qtmediaplayer.h"
#include "sound/qt/qtstretchplayer.h"
#include "sound/qt/qtwaveaudio.h"
#include "sound/qt/slowedsounds.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <gst/gst.h>
#include <sys/resource.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace {

// What reaches the test server's null sink, recorded from its monitor: one
// channel of 16-bit samples at Rate.
class Monitor
{
public:
    static constexpr int Rate = 22050;

    // raw: a file of its own for each recording, or the last one's would be
    // taken for this one's stream having opened.
    bool Start(const QString &raw)
    {
        m_raw = raw;
        QFile::remove(raw);
        m_recorder.start("parecord",
            { "--raw", "--device=nullsink.monitor", "--rate=22050", "--channels=1", "--format=s16le",
                "--latency-msec=20", raw });
        if (!m_recorder.waitForStarted())
            return false;
        // The stream takes a moment to open: the sound starts once silence comes in.
        QElapsedTimer clock;
        clock.start();
        while (QFileInfo(raw).size() <= 4410 && clock.elapsed() < 5000)
            QTest::qWait(50);
        QTest::qWait(500);
        return QFileInfo(raw).size() > 4410;
    }

    // The server hands a recording over in pieces: the last one comes a
    // moment after the sound has ended.
    QVector<qint16> Stop(int afterMs = 1500)
    {
        QTest::qWait(afterMs);
        m_recorder.terminate();
        m_recorder.waitForFinished(3000);
        QFile file(m_raw);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        QVector<qint16> samples(bytes.size() / 2);
        memcpy(samples.data(), bytes.constData(), size_t(samples.size()) * 2);
        return samples;
    }

private:
    QProcess m_recorder;
    QString m_raw;
};

// The first and last samples louder than a quiet tone's: -1 when none is.
std::pair<qsizetype, qsizetype> soundedSpan(const QVector<qint16> &samples)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 2000) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return { first, last };
}

} // namespace

// Real MP3s made here with sox and lame, tagged with TagLib, played through the
// sound server's null sink.
class TestMediaPlayer final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void backendIsOneQtHas_data();
    void backendIsOneQtHas();
    void tagsAndDurationAreKnownAtOnce_data();
    void tagsAndDurationAreKnownAtOnce();
    void badFilesReportAnError_data();
    void badFilesReportAnError();
    void playsToTheEndAndAgain();
    void sinksKeepAShortQueue_data();
    void sinksKeepAShortQueue();
    void thePlayersOwnSinkKeepsAShortQueue();
    void theFeedingThreadIsRaisedOnlyWhilePlaying();
    void anIdleSinkStartsFromTheFirstSample();
    void theSlowingLeavesNoThreadRaised();
    void aSlowedSoundIsPutAndPlayedAgain();
    void aSlowedStretchIsTheOneAsked();
    void aTakeResumesWhereItPaused();
    void slowedKeepsItsPitch_data();
    void slowedKeepsItsPitch();

private:
    QString makeMp3(const QString &name, double seconds, const QString &title, const QString &author);
    QTemporaryDir m_dir;
};

QString TestMediaPlayer::makeMp3(const QString &name, double seconds, const QString &title, const QString &author)
{
    const QString wav = m_dir.filePath(name + ".wav");
    const QString mp3 = m_dir.filePath(name + ".mp3");
    if (QProcess::execute(
            "sox", { "-n", "-r", "22050", "-c", "1", wav, "synth", QString::number(seconds), "sine", "440" })
        != 0)
        return {};
    if (QProcess::execute("lame", { "--quiet", "-b", "64", wav, mp3 }) != 0)
        return {};
    TagLib::MPEG::File file(QFile::encodeName(mp3).constData());
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    tag->setTitle(TagLib::String(title.toStdWString()));
    tag->setArtist(TagLib::String(author.toStdWString()));
    file.save();
    return mp3;
}

void TestMediaPlayer::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable("sox").isEmpty(), "sox is needed: run scripts/install-deps test");
    QVERIFY2(!QStandardPaths::findExecutable("lame").isEmpty(), "lame is needed: run scripts/install-deps test");
    // The program's own choice, so that these players sound wherever it does.
    ChooseMediaBackend();
}

// A backend named that Qt cannot load leaves every player silent.
void TestMediaPlayer::backendIsOneQtHas_data()
{
    QTest::addColumn<QStringList>("plugins"); // "folder/plugin", the folders in Qt's search order
    QTest::addColumn<QByteArray>("backend");
    QTest::newRow("both backends") << QStringList { "a/libgstreamermediaplugin.so", "a/libffmpegmediaplugin.so" }
                                   << QByteArray("gstreamer");
    QTest::newRow("only FFmpeg") << QStringList { "a/libffmpegmediaplugin.so" } << QByteArray();
    QTest::newRow("GStreamer in a later folder")
        << QStringList { "a/libffmpegmediaplugin.so", "b/libgstreamermediaplugin.so" } << QByteArray("gstreamer");
    QTest::newRow("no backend") << QStringList { "a/" } << QByteArray();
}

void TestMediaPlayer::backendIsOneQtHas()
{
    QFETCH(QStringList, plugins);
    QFETCH(QByteArray, backend);
    QTemporaryDir root;
    QStringList folders;
    for (const QString &entry : plugins) {
        const QString folder = root.filePath(entry.section('/', 0, 0));
        if (!folders.contains(folder))
            folders.append(folder);
        QVERIFY(QDir().mkpath(folder + "/multimedia"));
        const QString plugin = entry.section('/', 1);
        if (!plugin.isEmpty())
            QVERIFY(QFile(folder + "/multimedia/" + plugin).open(QIODevice::WriteOnly));
    }
    QCOMPARE(PreferredMediaBackend(folders), backend);
}

void TestMediaPlayer::tagsAndDurationAreKnownAtOnce_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("author");
    QTest::newRow("arabic tags") << 2.0 << QStringLiteral("إِنَّ ٱللَّهَ غَفُورٌ رَّحِيمٌ") << QStringLiteral("قارئ تجريبي");
    QTest::newRow("no title") << 1.0 << QString() << QStringLiteral("قارئ تجريبي");
}

void TestMediaPlayer::tagsAndDurationAreKnownAtOnce()
{
    QFETCH(double, seconds);
    QFETCH(QString, title);
    QFETCH(QString, author);
    const QString mp3 = makeMp3(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'), seconds, title, author);
    QVERIFY(!mp3.isEmpty());
    QtMediaPlayer player;
    player.SetFileName(mp3);
    QCOMPARE(player.ErrorCode(), 0);
    QVERIFY2(qAbs(player.Duration() - seconds) < 0.15, qPrintable(QString::number(player.Duration())));
    QCOMPARE(player.GetMediaInfoString(MediaPlayer::ClipTitle), title);
    QCOMPARE(player.GetMediaInfoString(MediaPlayer::ClipAuthor), author);
    QCOMPARE(player.GetMediaInfoString(3), QString());
    QCOMPARE(player.FileName(), mp3);
    // Choosing an example gives the player a name and nothing else: it must sound.
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0, 5000);
}

void TestMediaPlayer::badFilesReportAnError_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("garbage") << QByteArray(20000, '\x5a') << true;
}

void TestMediaPlayer::badFilesReportAnError()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, create);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mp3");
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QtMediaPlayer player;
    player.SetFileName(path);
    QVERIFY(player.ErrorCode() != 0);
    QVERIFY(!player.ErrorDescription().isEmpty());
    QCOMPARE(player.Duration(), 0.0);
    player.Play(); // nothing to play: no crash, no sound
    QTest::qWait(200);
    QCOMPARE(player.CurrentPosition(), 0.0);
}

void TestMediaPlayer::playsToTheEndAndAgain()
{
    const QString mp3 = makeMp3("play", 1.0, QStringLiteral("عنوان"), QStringLiteral("قارئ"));
    QVERIFY(!mp3.isEmpty());
    QtMediaPlayer player;
    player.SetFileName(mp3); // starts by itself
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.2, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() >= player.Duration(), 8000);
    QCOMPARE(player.ErrorCode(), 0);
    // Play after the end starts again from the top.
    player.Play();
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.1 && player.CurrentPosition() < player.Duration(), 5000);
    player.Stop();
    player.SetCurrentPosition(0);
    QVERIFY(player.CurrentPosition() < 0.1);
}

void TestMediaPlayer::sinksKeepAShortQueue_data()
{
    QTest::addColumn<QByteArray>("factory");
    QTest::addColumn<bool>("nested");
    QTest::addColumn<qint64>("queue");
    QTest::newRow("sound-server sink") << QByteArray("pulsesink") << false << qint64(PlaybackQueue());
    QTest::newRow("sound-server sink in a bin in a bin") << QByteArray("pulsesink") << true << qint64(PlaybackQueue());
    QTest::newRow("another kind of sink keeps its own") << QByteArray("osssink") << false << qint64(200000);
}

void TestMediaPlayer::sinksKeepAShortQueue()
{
    QFETCH(QByteArray, factory);
    QFETCH(bool, nested);
    QFETCH(qint64, queue);
    QVERIFY(TunePlaybackSinks());
    GstElement *outer = gst_bin_new("outer");
    GstElement *inner = gst_bin_new("inner");
    GstElement *sink = gst_element_factory_make(factory.constData(), nullptr);
    QVERIFY2(sink, factory.constData());
    if (nested) {
        gst_bin_add(GST_BIN(outer), inner);
        gst_bin_add(GST_BIN(inner), sink);
    } else {
        gst_object_unref(gst_object_ref_sink(inner));
        gst_bin_add(GST_BIN(outer), sink);
    }
    gint64 bufferTime = 0;
    g_object_get(sink, "buffer-time", &bufferTime, nullptr);
    gst_object_unref(outer);
    QCOMPARE(qint64(bufferTime), queue);
}

// The sink Qt Multimedia makes for itself is the one that matters.
void TestMediaPlayer::thePlayersOwnSinkKeepsAShortQueue()
{
    if (qgetenv("QT_MEDIA_BACKEND") != "gstreamer")
        QSKIP("the players sound through Qt's FFmpeg backend here, which makes no GStreamer sink");
    static QList<GstElement *> sinks;
    const guint signal = g_signal_lookup("deep-element-added", GST_TYPE_BIN);
    const gulong hook = g_signal_add_emission_hook(
        signal, 0,
        [](GSignalInvocationHint *, guint count, const GValue *values, gpointer) -> gboolean {
            auto *element = static_cast<GstElement *>(g_value_get_object(&values[count - 1]));
            GstElementFactory *factory = gst_element_get_factory(element);
            if (factory && QByteArray(GST_OBJECT_NAME(factory)) == "pulsesink" && !sinks.contains(element))
                sinks.append(static_cast<GstElement *>(gst_object_ref(element)));
            return TRUE;
        },
        nullptr, nullptr);
    {
        const QString mp3 = makeMp3("queue", 1.0, QStringLiteral("عنوان"), QStringLiteral("قارئ"));
        QtMediaPlayer player;
        player.SetFileName(mp3);
        QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.1, 5000);
        g_signal_remove_emission_hook(signal, hook);
        QVERIFY(!sinks.isEmpty());
        for (GstElement *sink : std::as_const(sinks)) {
            gint64 bufferTime = 0;
            g_object_get(sink, "buffer-time", &bufferTime, nullptr);
            QCOMPARE(qint64(bufferTime), qint64(PlaybackQueue()));
        }
    }
    for (GstElement *sink : std::as_const(sinks))
        gst_object_unref(sink);
    sinks.clear();
}

namespace {

QStringList raisedThreads()
{
    QStringList raised;
    for (const QString &tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 16 && fields[16].toInt() < 0)
            raised << tid;
    }
    return raised;
}

} // namespace

// A streaming thread goes back to GStreamer's pool when its pipeline ends;
// one that kept its raised level ran the next pipeline's setting up ahead of
// the window, and that example never sounded.
void TestMediaPlayer::theFeedingThreadIsRaisedOnlyWhilePlaying()
{
    if (qgetenv("QT_MEDIA_BACKEND") != "gstreamer")
        QSKIP("Qt's FFmpeg backend feeds its sink from a thread of its own, not from a pool");
    if (setpriority(PRIO_PROCESS, 0, -1) != 0)
        QSKIP("this user may not raise a thread's priority");
    setpriority(PRIO_PROCESS, 0, 0);
    QVERIFY(raisedThreads().isEmpty());
    const QString mp3 = makeMp3("raised", 3.0, QStringLiteral("عنوان"), QStringLiteral("قارئ"));
    QtMediaPlayer player;
    player.SetFileName(mp3);
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.3, 5000);
    QCOMPARE(raisedThreads().size(), 1);
    player.Stop();
    QVERIFY(raisedThreads().isEmpty());
    // Playing again raises it again.
    player.Play();
    QTRY_COMPARE_WITH_TIMEOUT(raisedThreads().size(), 1, 5000);
    player.SetFileName(mp3);
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.3, 5000);
    QCOMPARE(raisedThreads().size(), 1);
}

// The sound server can take a moment to start a sink that was idle (the
// test server's, over a second). The sink kept to the pipeline's clock
// meanwhile and then skipped what it had not yet played to catch up: the
// position jumped, and the first second of the example never sounded.
void TestMediaPlayer::anIdleSinkStartsFromTheFirstSample()
{
    const QString mp3 = makeMp3("idle", 3.0, QStringLiteral("عنوان"), QStringLiteral("قارئ"));
    QtMediaPlayer player;
    player.SetFileName(mp3);
    QElapsedTimer clock;
    clock.start();
    double position = 0;
    qint64 at = 0;
    double jump = 0;
    qint64 movedAt = -1;
    while (position < 2.9 && clock.elapsed() < 10000) {
        QTest::qWait(20);
        const double now = player.CurrentPosition();
        const qint64 wall = clock.elapsed();
        if (now > 0.15 && movedAt < 0)
            movedAt = wall;
        jump = qMax(jump, (now - position) - (wall - at) / 1000.0);
        position = now;
        at = wall;
    }
    QVERIFY2(position >= 2.9, qPrintable(QString::number(position)));
    QVERIFY2(jump < 0.15, qPrintable(QStringLiteral("the position jumped %1 s ahead").arg(jump)));
    QVERIFY2(at - movedAt > 2600, qPrintable(QStringLiteral("3 s played in %1 ms").arg(at - movedAt)));
}

// The reciter is slowed on a thread of Qt's shared pool, raised while the
// learner waits; kept raised, it would run whatever the pool gives it next
// ahead of the window.
void TestMediaPlayer::theSlowingLeavesNoThreadRaised()
{
    const QString mp3 = makeMp3("slowing", 2.0, QStringLiteral("عنوان"), QStringLiteral("قارئ"));
    SlowedSounds slowed;
    bool made = false;
    // Under Qt's FFmpeg backend the renderers' own threads stay raised.
    const QStringList before = raisedThreads();
    slowed.Request(mp3, 0.7, [&made](std::shared_ptr<const QByteArray> wave, const QString &) { made = bool(wave); });
    QTRY_VERIFY_WITH_TIMEOUT(made, 10000);
    QCOMPARE(raisedThreads(), before);
}

// The slowed sound plays on an output of its own: the words follow its
// position, the take's limit and the end of listening its end, and the
// comparison puts it where a word begins.
void TestMediaPlayer::aSlowedSoundIsPutAndPlayedAgain()
{
    const QString mp3 = makeMp3("placed", 2.0, QStringLiteral("عنوان"), QStringLiteral("قارئ"));
    SlowedSounds slowed;
    QtMediaPlayer player(nullptr, nullptr, &slowed);
    player.SetSpeed(0.5);
    player.SetFileName(mp3); // starts once made
    const double length = player.Duration();
    QVERIFY(length > 3.5);
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.2, 10000);
    player.SetCurrentPosition(2.5);
    QVERIFY(player.CurrentPosition() >= 2.5);
    QTest::qWait(300);
    QVERIFY2(player.CurrentPosition() > 2.5 && player.CurrentPosition() < 3.3,
        qPrintable(QString::number(player.CurrentPosition())));
    // It ends as its last sample is heard, not seconds after. (The test
    // server takes a second or more to start a new stream; that wait is not
    // the end's.)
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() >= length - 0.25, 6000);
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() >= length, 3000);
    QVERIFY2(clock.elapsed() < 600, qPrintable(QString::number(clock.elapsed())));
    // Played again after its end, from the top; stopped, back to the top.
    player.Play();
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.1 && player.CurrentPosition() < 1.0, 3000);
    player.Stop();
    QCOMPARE(player.CurrentPosition(), 0.0);
    QTest::qWait(200);
    QCOMPARE(player.CurrentPosition(), 0.0);
    QCOMPARE(player.ErrorCode(), 0);
}

// The comparison plays a stretch of the slowed reciter (a word, a take's
// part) from memory: what reaches the sink is that stretch, at that speed.
void TestMediaPlayer::aSlowedStretchIsTheOneAsked()
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        QSKIP("needs the test sound server (scripts/test-services)");
    const QString mp3 = makeMp3("stretch", 3.0, QStringLiteral("نغمة"), QStringLiteral("قارئ"));
    SlowedSounds slowed;
    QtStretchPlayer player(nullptr, nullptr, &slowed);
    Monitor monitor;
    QVERIFY(monitor.Start(m_dir.filePath(QStringLiteral("stretch.raw"))));
    // 1.2 s of what is heard at 70 %, from 1 s in.
    player.Play(mp3, 1.0, 2.2, 0.7);
    QTest::qWait(3500);
    const auto [first, last] = soundedSpan(monitor.Stop());
    QVERIFY2(first >= 0, "nothing reached the sink");
    const double seconds = double(last - first) / Monitor::Rate;
    QVERIFY2(std::abs(seconds - 1.2) < 0.1, qPrintable(QString::number(seconds)));
}

// A take paused and resumed is heard once, whole: neither from its start
// again nor without what the sound server held when it was paused; and while
// paused its position stands.
void TestMediaPlayer::aTakeResumesWhereItPaused()
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        QSKIP("needs the test sound server (scripts/test-services)");
    const QString take = m_dir.filePath(QStringLiteral("take.wav"));
    QCOMPARE(QProcess::execute("sox",
                 { "-n", "-r", "11025", "-b", "8", "-e", "unsigned-integer", "-c", "1", take, "synth", "2", "sine",
                     "440", "vol", "0.5" }),
        0);
    QtWaveAudio audio;
    QCOMPARE(audio.Send("open " + take + " type waveaudio alias voice1"), QString());
    QCOMPARE(audio.Send("status voice1 length"), QStringLiteral("2000"));
    Monitor monitor;
    QVERIFY(monitor.Start(m_dir.filePath(QStringLiteral("take.raw"))));
    QCOMPARE(audio.Send("play voice1"), QString());
    const auto position = [&] { return audio.Send("status voice1 position").toLongLong(); };
    QTRY_VERIFY_WITH_TIMEOUT(position() >= 800, 5000);
    audio.Send("pause voice1");
    const qint64 paused = position();
    QTest::qWait(1000);
    QCOMPARE(position(), paused);
    QCOMPARE(audio.Send("resume voice1"), QString());
    QTRY_COMPARE_WITH_TIMEOUT(position(), qint64(2000), 5000);
    const QVector<qint16> samples = monitor.Stop();
    const auto [first, last] = soundedSpan(samples);
    QVERIFY2(first >= 0, "nothing reached the sink");
    // The test sink can play a moment of silence into a sound on a busy
    // machine; only the pause is long.
    qsizetype quiet = 0, silent = 0, longest = 0;
    for (qsizetype i = first; i <= last; ++i) {
        quiet = std::abs(samples[i]) < 300 ? quiet + 1 : 0;
        if (quiet > 44)
            ++silent;
        longest = qMax(longest, quiet);
    }
    const double heard = double(last - first - silent) / Monitor::Rate;
    QVERIFY2(std::abs(heard - 2.0) < 0.1, qPrintable(QStringLiteral("%1 s of the take heard").arg(heard)));
    QVERIFY2(longest > Monitor::Rate * 0.8, qPrintable(QStringLiteral("a pause of %1 s").arg(longest / 22050.0)));
}

void TestMediaPlayer::slowedKeepsItsPitch_data()
{
    QTest::addColumn<double>("speed");
    QTest::addColumn<bool>("relative"); // the course folder named from the working directory
    QTest::addColumn<bool>("muted");
    QTest::newRow("full speed") << 1.0 << false << false;
    QTest::newRow("85 %") << 0.85 << false << false;
    QTest::newRow("70 %") << 0.70 << false << false;
    QTest::newRow("50 %") << 0.50 << false << false;
    QTest::newRow("70 %, a relative path") << 0.70 << true << false;
    // The slowed sound has an output of its own, which must follow the
    // program's mute as the backend's does.
    QTest::newRow("70 %, muted") << 0.70 << false << true;
}

// What the sound server is given, recorded from its sink's monitor: the tone
// lasts 1/speed as long and stays at 440 Hz.
void TestMediaPlayer::slowedKeepsItsPitch()
{
    QFETCH(double, speed);
    QFETCH(bool, relative);
    QFETCH(bool, muted);
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        QSKIP("needs the test sound server (scripts/test-services)");
    const QString mp3 = makeMp3(
        QStringLiteral("tone%1").arg(qRound(speed * 100)), 1.5, QStringLiteral("نغمة"), QStringLiteral("قارئ"));
    QVERIFY(!mp3.isEmpty());
    SlowedSounds slowed;
    SoftwareVolume volume;
    volume.setMuted(muted);
    QtMediaPlayer player(nullptr, &volume, &slowed);
    player.SetSpeed(speed);
    Monitor monitor;
    QVERIFY(monitor.Start(m_dir.filePath(QStringLiteral("monitor%1.raw").arg(qRound(speed * 100)))));
    const QString previous = QDir::currentPath();
    auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
    QVERIFY(QDir::setCurrent(m_dir.path()));
    player.SetFileName(relative ? QFileInfo(mp3).fileName() : mp3);
    const double length = ReadSoundInfo(mp3).duration / speed;
    QCOMPARE(player.Duration(), length);
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() > 0.1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(player.CurrentPosition() >= player.Duration(), 10000);
    const QVector<qint16> samples = monitor.Stop();
    const auto [first, last] = soundedSpan(samples);
    if (muted) {
        QVERIFY2(first < 0, "the muted reciter was heard");
        return;
    }
    QVERIFY2(first >= 0, "nothing reached the sink");
    // On a busy machine the test server's sink can run dry for a piece or
    // more (20 to 120 ms were seen) and play silence into the tone. What is
    // judged here is the sound the player made, its length and pitch, so the
    // silences are left out of both; a slowing that lowered the pitch or kept
    // the length is still plain. A silence is a run of near-zero samples
    // longer than two milliseconds: a 440 Hz tone crosses zero every 1.1 ms.
    constexpr qsizetype Gap = 44;
    qsizetype quiet = 0, silent = 0, crossings = 0;
    for (qsizetype i = first + 1; i <= last; ++i) {
        if (std::abs(samples[i]) < 300) {
            if (++quiet == Gap)
                silent += Gap;
            else if (quiet > Gap)
                ++silent;
        } else {
            quiet = 0;
        }
        if (quiet <= Gap && (samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    }
    const double seconds = double(last - first - silent) / 22050.0;
    const double frequency = crossings / 2.0 / seconds;
    if (silent > 0)
        qInfo("the sink played %.1f ms of silence into the tone", silent * 1000.0 / 22050.0);
    QVERIFY2(std::abs(seconds - length) < 0.1 * length, qPrintable(QString::number(seconds)));
    QVERIFY2(std::abs(frequency - 440.0) < 440.0 * 0.03, qPrintable(QString::number(frequency)));
}

QTEST_MAIN(TestMediaPlayer)
#include "test_mediaplayer.moc"
