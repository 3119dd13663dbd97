// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/playbackqueue.h"

#include <cstring>
#include <dlfcn.h>
#include <gst/gst.h>
#include <type_traits>

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
            && find(objectSet, "g_object_set");
    }
};

GstCalls gst;

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
        gst.objectSet(
            element, "buffer-time", gint64(PlaybackQueueUs), "latency-time", gint64(PlaybackPieceUs), nullptr);
    }
    return TRUE;
}

} // namespace

bool ShortenPlaybackQueue()
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
