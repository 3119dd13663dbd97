// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/soundloader.h"

#include "sound/core/resample.h"
#include "sound/qt/qtsounddecoder.h"

#include <QEventLoop>
#include <QFile>

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double LongestSeconds = SoundDecoder::LongestSeconds;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

std::optional<MonoSound> SoundLoader::DecodeCompressed(const QString &path, int rate, QString *error)
{
    // Waits in a loop of its own for the decoder's events: for tools and tests on
    // a thread of their own. The window decodes with SoundDecoder and never waits.
    QtSoundDecoder decoder;
    std::optional<SoundDecoder::Result> result;
    QEventLoop loop;
    decoder.Start(path, rate, [&](SoundDecoder::Result r) {
        result = std::move(r);
        loop.quit();
    });
    if (!result)
        loop.exec();
    if (!result->error.isEmpty()) {
        setError(error, result->error);
        return std::nullopt;
    }
    MonoSound sound;
    sound.samples = Resample(result->samples, result->rate, rate);
    sound.rate = rate;
    return sound;
}

std::optional<MonoSound> SoundLoader::ReadWave(const QString &path, int rate, QString *error)
{
    SF_INFO info = {};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file) {
        setError(error, QString::fromLocal8Bit(sf_strerror(nullptr)));
        return std::nullopt;
    }
    if (info.channels <= 0 || info.samplerate <= 0 || info.frames < 0
        || double(info.frames) > LongestSeconds * info.samplerate) {
        sf_close(file);
        setError(error, QStringLiteral("not a usable recording"));
        return std::nullopt;
    }
    std::vector<float> interleaved(size_t(info.frames) * size_t(info.channels));
    const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    // A take cut short by a crash still holds what was said before it.
    const size_t frames = size_t(std::max<sf_count_t>(0, read));
    std::vector<float> mono(frames);
    for (size_t f = 0; f < frames; ++f) {
        float sum = 0;
        for (int c = 0; c < info.channels; ++c)
            sum += interleaved[f * size_t(info.channels) + size_t(c)];
        mono[f] = sum / info.channels;
    }
    MonoSound sound;
    sound.samples = Resample(mono, info.samplerate, rate);
    sound.rate = rate;
    return sound;
}
