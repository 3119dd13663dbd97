// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/audioconverter.h"

#include <QAudioDevice>
#include <algorithm>
#include <cstring>

AudioConverter::AudioConverter(const QAudioFormat &from, const QAudioFormat &to)
    : m_from(from)
    , m_to(to)
{
    m_identity = from.sampleFormat() == to.sampleFormat() && from.channelCount() == to.channelCount()
        && from.sampleRate() == to.sampleRate();
}

float AudioConverter::ReadSample(const char *frame, int channel) const
{
    const char *p = frame + channel * m_from.bytesPerSample();
    switch (m_from.sampleFormat()) {
    case QAudioFormat::UInt8: return (static_cast<unsigned char>(*p) - 128) / 128.0f;
    case QAudioFormat::Int16: {
        qint16 v;
        std::memcpy(&v, p, sizeof v);
        return v / 32768.0f;
    }
    case QAudioFormat::Int32: {
        qint32 v;
        std::memcpy(&v, p, sizeof v);
        return float(v / 2147483648.0);
    }
    case QAudioFormat::Float: {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    default: return 0;
    }
}

void AudioConverter::WriteFrame(QByteArray &out, float value) const
{
    value = std::clamp(value, -1.0f, 1.0f);
    for (int c = 0; c < m_to.channelCount(); ++c) {
        switch (m_to.sampleFormat()) {
        case QAudioFormat::UInt8: {
            const int v = std::clamp(int(std::lround(value * 128.0f)) + 128, 0, 255);
            out.append(char(v));
            break;
        }
        case QAudioFormat::Int16: {
            const qint16 v = qint16(std::clamp(long(std::lround(value * 32768.0f)), -32768L, 32767L));
            out.append(reinterpret_cast<const char *>(&v), sizeof v);
            break;
        }
        case QAudioFormat::Int32: {
            const qint32 v
                = qint32(std::clamp(std::llround(double(value) * 2147483648.0), -2147483648LL, 2147483647LL));
            out.append(reinterpret_cast<const char *>(&v), sizeof v);
            break;
        }
        case QAudioFormat::Float: out.append(reinterpret_cast<const char *>(&value), sizeof value); break;
        default: break;
        }
    }
}

QByteArray AudioConverter::Convert(const QByteArray &bytes)
{
    if (m_identity)
        return bytes;
    const int frameBytes = m_from.bytesPerFrame();
    if (frameBytes <= 0 || m_from.sampleRate() <= 0 || m_to.sampleRate() <= 0)
        return {};

    QByteArray input = m_partial + bytes;
    const int frames = int(input.size() / frameBytes);
    m_partial = input.mid(frames * frameBytes);

    // Channels are mixed down to one value per frame, then the rate is changed by
    // linear interpolation between neighbouring frames.
    const double step = double(m_from.sampleRate()) / m_to.sampleRate();
    QByteArray out;
    out.reserve(int(frames / step + 2) * m_to.bytesPerFrame());
    for (int f = 0; f < frames; ++f) {
        const char *frame = input.constData() + f * frameBytes;
        float sum = 0;
        for (int c = 0; c < m_from.channelCount(); ++c)
            sum += ReadSample(frame, c);
        const float current = sum / m_from.channelCount();
        if (!m_havePrevious) {
            m_previous = current;
            m_havePrevious = true;
            m_phase = 0;
            continue;
        }
        // Output frames fall between m_previous (phase 0) and current (phase 1).
        while (m_phase < 1.0) {
            WriteFrame(out, float(m_previous + (current - m_previous) * m_phase));
            m_phase += step;
        }
        m_phase -= 1.0;
        m_previous = current;
    }
    return out;
}

QAudioFormat DeviceFormatFor(const QAudioDevice &device, const QAudioFormat &wanted)
{
    if (device.isFormatSupported(wanted))
        return wanted;
    QAudioFormat preferred = device.preferredFormat();
    return preferred.isValid() ? preferred : wanted;
}
