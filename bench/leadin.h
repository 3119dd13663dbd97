// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QString>
#include <cmath>
#include <gst/gst.h>

// How far into the file its first sample as loud as the probe's threshold lies:
// the reciter's breath before the verse, which no player can shorten. Decoded
// the way the player decodes it, so that the encoder's delay is dropped as the
// player drops it.
inline double LeadInMs(const QString &path, double threshold)
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
