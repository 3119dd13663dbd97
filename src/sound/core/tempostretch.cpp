// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/tempostretch.h"

#include <QtEndian>

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>

namespace {

// The stretcher is fed and drained in blocks of this many samples.
constexpr size_t Block = 4096;

} // namespace

// Rubber Band's finer engine (R3), offline: it reads the whole sound once to
// study it, then stretches it. Measured against an overlap-add and against
// SoundTouch (bench/stretch.cpp, docs/slowing.md), it alone follows a voice's
// gliding pitch within a few cents at 50 % and keeps the syllables' onsets
// where they belong.
std::vector<float> TempoStretch::Stretch(const std::vector<float> &in, int rate, double speed)
{
    if (!(speed > 0.0) || speed >= 0.999 || in.empty() || rate <= 0)
        return in;
    speed = std::max(speed, 0.25);
    using RubberBand::RubberBandStretcher;
    RubberBandStretcher stretcher(size_t(rate), 1,
        RubberBandStretcher::OptionProcessOffline | RubberBandStretcher::OptionEngineFiner, 1.0 / speed);
    stretcher.setDebugLevel(0);
    stretcher.setExpectedInputDuration(in.size());
    stretcher.setMaxProcessSize(Block);
    for (size_t at = 0; at < in.size(); at += Block) {
        const float *channel = in.data() + at;
        stretcher.study(&channel, std::min(Block, in.size() - at), at + Block >= in.size());
    }
    const size_t wanted = size_t(std::llround(double(in.size()) / speed));
    std::vector<float> out;
    out.reserve(wanted + Block);
    const auto drain = [&] {
        for (int n = stretcher.available(); n > 0; n = stretcher.available()) {
            const size_t had = out.size();
            out.resize(had + size_t(n));
            float *channel = out.data() + had;
            stretcher.retrieve(&channel, size_t(n));
        }
    };
    for (size_t at = 0; at < in.size(); at += Block) {
        const float *channel = in.data() + at;
        stretcher.process(&channel, std::min(Block, in.size() - at), at + Block >= in.size());
        drain();
    }
    drain();
    // The length the speed asks for, to the sample: the players and the
    // comparison count on it.
    out.resize(wanted, 0.0f);
    return out;
}

QByteArray TempoStretch::Wave(const std::vector<float> &samples, int rate)
{
    const quint32 dataBytes = quint32(samples.size() * 2);
    QByteArray wav(44 + int(dataBytes), Qt::Uninitialized);
    char *p = wav.data();
    const auto put32 = [](char *at, quint32 v) { qToLittleEndian(v, at); };
    const auto put16 = [](char *at, quint16 v) { qToLittleEndian(v, at); };
    std::copy_n("RIFF", 4, p);
    put32(p + 4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, p + 8);
    put32(p + 16, 16);
    put16(p + 20, 1);
    put16(p + 22, 1);
    put32(p + 24, quint32(rate));
    put32(p + 28, quint32(rate) * 2);
    put16(p + 32, 2);
    put16(p + 34, 16);
    std::copy_n("data", 4, p + 36);
    put32(p + 40, dataBytes);
    char *data = p + WaveHeader;
    for (size_t i = 0; i < samples.size(); ++i) {
        const float s = std::clamp(samples[i], -1.0f, 1.0f);
        put16(data + 2 * i, quint16(qint16(std::lround(s * 32767.0f))));
    }
    return wav;
}

int TempoStretch::RateOfWave(const QByteArray &wave)
{
    if (wave.size() < WaveHeader || !wave.startsWith("RIFF") || wave.mid(8, 8) != "WAVEfmt "
        || qFromLittleEndian<quint16>(wave.constData() + 22) != 1
        || qFromLittleEndian<quint16>(wave.constData() + 34) != 16)
        return 0;
    return int(qFromLittleEndian<quint32>(wave.constData() + 24));
}
