// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/playbacksinks.h"

#include "sound/core/threadpriority.h"

// GLib's headers before Qt's, whose "signals" they would otherwise meet.
#include <gst/gst.h>

#include <QMediaPlayer>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// The media backend's library is opened when the first player is made, as Qt
// Multimedia opens it then anyway: linked into the program, it and its own
// libraries would load at every start, before the first page (about 2 ms).
struct GstCalls
{
    decltype(&gst_init_check) initCheck = nullptr;
    decltype(&gst_bin_get_type) binType = nullptr;
    decltype(&gst_element_get_factory) elementFactory = nullptr;
    decltype(&g_signal_lookup) signalLookup = nullptr;
    decltype(&g_signal_add_emission_hook) addEmissionHook = nullptr;
    decltype(&g_value_get_object) valueObject = nullptr;
    decltype(&g_object_set) objectSet = nullptr;
    decltype(&gst_element_get_static_pad) staticPad = nullptr;
    decltype(&gst_pad_add_probe) addProbe = nullptr;
    decltype(&gst_object_unref) unref = nullptr;

    bool Resolve()
    {
        void *library = dlopen("libgstreamer-1.0.so.0", RTLD_NOW | RTLD_GLOBAL);
        if (!library)
            return false;
        // The GObject calls come from the library's own dependencies.
        const auto find = [library](auto &call, const char *name) {
            call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(library, name));
            return call != nullptr;
        };
        return find(initCheck, "gst_init_check") && find(binType, "gst_bin_get_type")
            && find(elementFactory, "gst_element_get_factory") && find(signalLookup, "g_signal_lookup")
            && find(addEmissionHook, "g_signal_add_emission_hook") && find(valueObject, "g_value_get_object")
            && find(objectSet, "g_object_set") && find(staticPad, "gst_element_get_static_pad")
            && find(addProbe, "gst_pad_add_probe") && find(unref, "gst_object_unref");
    }
};

GstCalls gst;

// GST_AUDIO_BASE_SINK_SLAVE_NONE, of the audio library's headers, which only
// this value would be taken from.
constexpr int SinkNotSlaved = 2;

// The threads raised as they fed a sink, with the level each had before.
// GStreamer's streaming threads come from a pool: one that fed a sink and went
// back to it would carry its level into whatever it is given next. It was
// seen to run the next pipeline's type finding ahead of the window, which
// links that pipeline, and the example then never sounded. So a player that
// stops, or whose pipeline is taken down, gives them back their level
// (LowerFedThreads), and a thread raised only while its sink plays: one
// still feeding a playing sink takes the level again with its next buffer.
struct FedThreads
{
    std::mutex lock;
    std::vector<std::pair<pid_t, int>> raised;
    std::atomic<unsigned> round { 1 };
};

FedThreads fed;

// Whatever thread brings the sink its sound is the one that must not wait
// behind the machine's other work: raised as its first buffer of a round
// arrives, then an atomic's cost per buffer.
GstPadProbeReturn RaiseFeedingThread(GstPad *pad, GstPadProbeInfo *, gpointer)
{
    thread_local unsigned seen = 0;
    if (seen == fed.round.load(std::memory_order_acquire))
        return GST_PAD_PROBE_OK;
    // A sink prerolling, pausing or going down is no sound being heard.
    const GstElement *sink = GST_ELEMENT_CAST(GST_PAD_PARENT(pad));
    if (!sink || GST_STATE(sink) != GST_STATE_PLAYING || GST_STATE_PENDING(sink) != GST_STATE_VOID_PENDING)
        return GST_PAD_PROBE_OK;
    const std::lock_guard<std::mutex> held(fed.lock);
    seen = fed.round.load(std::memory_order_relaxed);
    const pid_t tid = CurrentThreadId();
    int before = 0;
    if (RaiseSoundThread(tid, &before) && before > SoundThreadNice)
        fed.raised.emplace_back(tid, before);
    return GST_PAD_PROBE_OK;
}

// Qt Multimedia makes its sinks itself and gives no way to set their
// properties; every bin announces the elements added anywhere below it, and a
// hook on that announcement reaches each sink before it starts.
gboolean TuneSink(GSignalInvocationHint *, guint count, const GValue *values, gpointer)
{
    // deep-element-added: the bin, the sub-bin, the element.
    if (count < 3)
        return TRUE;
    auto *element = static_cast<GstElement *>(gst.valueObject(&values[2]));
    GstElementFactory *factory = element ? gst.elementFactory(element) : nullptr;
    if (factory && std::strcmp(GST_OBJECT_NAME(factory), "pulsesink") == 0) {
        // Qt runs its pipelines on the system's clock, and a sink left to
        // follow it (its "skew" slaving) skipped, to catch up, whatever the
        // sound server had not yet taken when it was slow to start: an idle
        // sink took over a second here, and the first second of the example
        // was never heard while its position ran on. Unslaved, the sink
        // plays every sample from the first and its position waits for them;
        // the two clocks part by milliseconds a minute at most.
        gst.objectSet(element, "buffer-time", gint64(PlaybackQueue()), "latency-time", gint64(PlaybackPieceUs),
            "slave-method", SinkNotSlaved, nullptr);
        if (GstPad *pad = gst.staticPad(element, "sink")) {
            gst.addProbe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                RaiseFeedingThread, nullptr, nullptr);
            gst.unref(pad);
        }
    }
    return TRUE;
}

} // namespace

bool TunePlaybackSinks()
{
    static bool installed = false;
    if (installed)
        return true;
    if (!gst.Resolve() || !gst.initCheck(nullptr, nullptr, nullptr))
        return false;
    const guint signal = gst.signalLookup("deep-element-added", gst.binType());
    if (signal == 0)
        return false;
    gst.addEmissionHook(signal, 0, TuneSink, nullptr, nullptr);
    installed = true;
    return true;
}

namespace {

void RaiseBackendSoundThreads()
{
    // Its threads are named after the objects they run; the kernel keeps 15
    // bytes of "QFFmpeg::AudioRenderer".
    for (const pid_t tid : ThreadsNamed("QFFmpeg::AudioRenderer"))
        RaiseSoundThread(tid);
}

} // namespace

long long PlaybackQueue()
{
    static const long long queue = SoundThreadsCanBeRaised() ? PlaybackQueueUs : UnraisedPlaybackQueueUs;
    return queue;
}

void LowerFedThreads()
{
    const std::lock_guard<std::mutex> held(fed.lock);
    fed.round.fetch_add(1, std::memory_order_release);
    for (const auto &[tid, nice] : fed.raised)
        RestoreThread(tid, nice);
    fed.raised.clear();
}

void StopPlayer(QMediaPlayer *player)
{
    player->stop();
    LowerFedThreads();
}

void ReplaceSource(QMediaPlayer *player, const QUrl &url)
{
    if (!player->source().isEmpty() && player->source() != url)
        player->setSource(QUrl());
    LowerFedThreads();
    player->setSource(url);
}

void TunePlayer(QMediaPlayer *player)
{
    QObject::connect(player, &QMediaPlayer::playbackStateChanged, player, [player](QMediaPlayer::PlaybackState state) {
        if (state != QMediaPlayer::PlayingState)
            return;
        RaiseBackendSoundThreads();
        QTimer::singleShot(200, player, RaiseBackendSoundThreads);
    });
}
