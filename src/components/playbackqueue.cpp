#include "playbackqueue.h"

#include <cstring>
#include <gst/gst.h>

namespace {

// Qt Multimedia makes its sinks itself and gives no way to set their
// properties; every bin announces the elements added anywhere below it, and a
// hook on that announcement reaches each sink before it starts.
gboolean TuneSink(GSignalInvocationHint *, guint count, const GValue *values, gpointer)
{
    // deep-element-added: the bin, the sub-bin, the element.
    if (count < 3)
        return TRUE;
    auto *element = static_cast<GstElement *>(g_value_get_object(&values[2]));
    GstElementFactory *factory = element ? gst_element_get_factory(element) : nullptr;
    if (factory && std::strcmp(GST_OBJECT_NAME(factory), "pulsesink") == 0) {
        g_object_set(element, "buffer-time", gint64(PlaybackQueueUs), "latency-time", gint64(PlaybackPieceUs),
            nullptr);
    }
    return TRUE;
}

} // namespace

bool ShortenPlaybackQueue()
{
    static bool installed = false;
    if (installed)
        return true;
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return false;
    const guint signal = g_signal_lookup("deep-element-added", GST_TYPE_BIN);
    if (signal == 0)
        return false;
    g_signal_add_emission_hook(signal, 0, TuneSink, nullptr, nullptr);
    installed = true;
    return true;
}
