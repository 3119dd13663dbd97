// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/tempostretch.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

// Pieces of 40 ms overlap by half; a piece may move up to 12 ms to find where
// it continues the last one, which covers a voice's period down to 83 Hz.
constexpr double PieceSeconds = 0.040;
constexpr double SeekSeconds = 0.012;

// How well in[candidate..) continues in[target..): correlation over the first
// half of the piece (the part that overlaps), stepped for speed, scaled by the
// candidate's energy so that a loud stretch does not win for being loud.
double likeness(const std::vector<float> &in, size_t candidate, size_t target, int length, int step)
{
    double product = 0, energy = 1e-9;
    for (int n = 0; n < length; n += step) {
        const float c = in[candidate + size_t(n)];
        product += double(c) * in[target + size_t(n)];
        energy += double(c) * c;
    }
    return product / std::sqrt(energy);
}

} // namespace

std::vector<float> TempoStretch::Stretch(const std::vector<float> &in, int rate, double speed)
{
    if (!(speed > 0.0) || speed >= 0.999 || in.empty() || rate <= 0)
        return in;
    speed = std::max(speed, 0.25);
    const int piece = std::max(16, int(std::lround(rate * PieceSeconds)) & ~1);
    const int half = piece / 2;
    const int seek = std::max(1, int(std::lround(rate * SeekSeconds)));
    const double inHop = half * speed;
    const size_t outLength = size_t(std::llround(double(in.size()) / speed));

    std::vector<float> window(static_cast<size_t>(piece));
    for (int n = 0; n < piece; ++n)
        window[size_t(n)] = float(0.5 - 0.5 * std::cos(2.0 * M_PI * n / piece));

    std::vector<float> out(outLength + size_t(piece), 0.0f);
    const size_t last = in.size() > size_t(piece) ? in.size() - size_t(piece) : 0;
    size_t previous = 0;
    for (size_t k = 0;; ++k) {
        const size_t nominal = size_t(std::llround(double(k) * inHop));
        const size_t outAt = k * size_t(half);
        if (nominal >= in.size() || outAt >= outLength)
            break;
        size_t chosen = std::min(nominal, last);
        const size_t natural = previous + size_t(half);
        if (k > 0 && natural <= last && in.size() > size_t(piece)) {
            const size_t from = chosen > size_t(seek) ? chosen - size_t(seek) : 0;
            const size_t to = std::min(chosen + size_t(seek), last);
            // Coarse, then fine around the best: a few hundred candidates a
            // piece would otherwise cost more than the playing does.
            double best = -1e300;
            size_t bestAt = chosen;
            for (size_t c = from; c <= to; c += 3) {
                const double score = likeness(in, c, natural, half, 4);
                if (score > best) {
                    best = score;
                    bestAt = c;
                }
            }
            const size_t fineFrom = bestAt > from + 2 ? bestAt - 2 : from;
            const size_t fineTo = std::min(bestAt + 2, to);
            best = -1e300;
            for (size_t c = fineFrom; c <= fineTo; ++c) {
                const double score = likeness(in, c, natural, half, 1);
                if (score > best) {
                    best = score;
                    chosen = c;
                }
            }
        }
        for (int n = 0; n < piece && chosen + size_t(n) < in.size(); ++n)
            out[outAt + size_t(n)] += in[chosen + size_t(n)] * window[size_t(n)];
        previous = chosen;
    }
    // The first half piece had no piece before it to overlap with: it is
    // made whole again rather than faded in.
    for (int n = 0; n < half && size_t(n) < out.size() && size_t(n) < in.size(); ++n)
        out[size_t(n)] = in[size_t(n)];
    out.resize(outLength);
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
    char *data = p + 44;
    for (size_t i = 0; i < samples.size(); ++i) {
        const float s = std::clamp(samples[i], -1.0f, 1.0f);
        put16(data + 2 * i, quint16(qint16(std::lround(s * 32767.0f))));
    }
    return wav;
}
