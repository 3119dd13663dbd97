// SPDX-License-Identifier: GPL-3.0-or-later

// The real window on the demo course, with the real player and sound server:
// from a click on a lesson with examples to its first example reaching the
// sound server's output. The welcome chime has played first, as at every start.
// Run under the test services: eval "$(scripts/test-services start)".
#include "app/mainwindow.h"
#include "app/processsetup.h"
#include "menu/menucontrols.h"
#include "sound/api/mediaplayer.h"
#include "sound/program/mediabackend.h"
#include "soundprobe.h"
#include "widgets/activelink.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gst/gst.h>

// How far into the file its first sample as loud as the probe's threshold lies:
// the reciter's breath before the verse, which no player can shorten. Decoded
// the way the player decodes it, so that the encoder's delay is dropped as the
// player drops it.
static double LeadInMs(const QString &path, double threshold)
{
    struct Scan
    {
        double threshold;
        double lead = -1;
        guint64 frames = 0;
    } scan { threshold };
    gchar *location = g_strescape(QFile::encodeName(path).constData(), nullptr);
    const QByteArray description = QByteArray("filesrc location=\"") + location
        + "\" ! decodebin ! audioconvert ! audioresample ! audio/x-raw,format=F32LE,channels=1,rate=44100 ! "
          "fakesink name=sink signal-handoffs=true sync=false";
    g_free(location);
    GstElement *pipeline = gst_parse_launch(description.constData(), nullptr);
    if (!pipeline)
        return -1;
    GstElement *sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    g_signal_connect(sink, "handoff", G_CALLBACK(+[](GstElement *, GstBuffer *buffer, GstPad *, gpointer data) {
        auto *s = static_cast<Scan *>(data);
        GstMapInfo map;
        if (s->lead >= 0 || !gst_buffer_map(buffer, &map, GST_MAP_READ))
            return;
        const auto *samples = reinterpret_cast<const float *>(map.data);
        const gsize count = map.size / sizeof(float);
        for (gsize i = 0; s->lead < 0 && i < count; ++i) {
            if (std::abs(samples[i]) > s->threshold)
                s->lead = (s->frames + i) * 1000.0 / 44100;
        }
        s->frames += count;
        gst_buffer_unmap(buffer, &map);
    }),
        &scan);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *end
        = gst_bus_timed_pop_filtered(bus, 5 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (end)
        gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return scan.lead;
}

int main(int argc, char *argv[])
{
    ChooseMediaBackend();
    QApplication app(argc, argv);
    SetUpApplication();
    QTextStream out(stdout);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    const int chapter = argc > 2 ? atoi(argv[2]) : 2;
    const int lesson = argc > 3 ? atoi(argv[3]) : 1;
    if (chapter < 1 || chapter > MenuControls::ChapterItems || lesson < 1 || lesson > MenuControls::LessonLinks)
        return 2;
    QTemporaryDir learner;
    SinkProbe probe;
    // The sound library from the application folder, as the program finds it beside itself.
    Platform platform;
    platform.soundFolders = { QStringLiteral(RATTIL_APP_DIR) };
    MainWindow window(folder, platform);
    window.SetLearnerFolders(learner.path(), learner.path());
    window.Load();
    window.show();

    // The chime: heard, then quiet for half a second.
    double heard = -1;
    WaitFor([&] { return (heard = probe.Loud(20)) >= 0; }, 4000);
    double lastLoud = BenchNowMs();
    WaitFor(
        [&] {
            if (probe.Loud(20) >= 0)
                lastLoud = BenchNowMs();
            return BenchNowMs() - lastLoud > 500;
        },
        8000);

    window.menuControls.ImenuL[chapter]->press();
    WaitFor([] { return false; }, 300);
    probe.Drain();
    const double clicked = BenchNowMs();
    window.menuControls.Alink[lesson]->press();
    double sounded = -1;
    WaitFor([&] { return (sounded = probe.Loud(20)) >= 0; }, 4000);
    // The probe's threshold of 20 in 128 on the file's own scale.
    const double lead = LeadInMs(window.MP->FileName(), 20.0 / 128.0);
    out << "lesson_click_to_example_sound_ms=" << (sounded >= 0 ? sounded - clicked : -1.0)
        << " example_lead_in_ms=" << lead << " chime_heard=" << (heard >= 0 ? "yes" : "no") << Qt::endl;
    window.close();
    return sounded >= 0 ? 0 : 1;
}
