// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAudioFormat>
#include <QByteArray>

// Turns a stream of one PCM format into another: sample type, channel count and
// rate. Sound devices do not all take 8-bit mono at 11025 or 8000 Hz, so the
// recorder and the meter capture in what the device offers and convert here.
// Keeps its state between chunks, so a stream cut anywhere converts as a whole.
class AudioConverter final
{
public:
    AudioConverter(const QAudioFormat &from, const QAudioFormat &to);

    QByteArray Convert(const QByteArray &bytes);
    bool IsIdentity() const { return m_identity; }

private:
    float ReadSample(const char *frame, int channel) const;
    void WriteFrame(QByteArray &out, float value) const;

    QAudioFormat m_from;
    QAudioFormat m_to;
    bool m_identity = false;
    QByteArray m_partial; // bytes of an incomplete input frame
    // Position of the next output frame, in input frames relative to m_previous.
    double m_phase = 0;
    float m_previous = 0;
    bool m_havePrevious = false;
};

class QAudioDevice;

// The wanted format when the device takes it, otherwise the device's own
// preferred format (to be converted from or to).
QAudioFormat DeviceFormatFor(const QAudioDevice &device, const QAudioFormat &wanted);
