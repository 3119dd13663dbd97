#include "compare/soundloader.h"

#include "audio/sounddecoder.h"

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
    SoundDecoder decoder;
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

std::vector<float> SoundLoader::Resample(const std::vector<float> &samples, int fromRate, int toRate)
{
    if (fromRate == toRate || samples.empty() || fromRate <= 0 || toRate <= 0)
        return samples;
    // Windowed-sinc interpolation with the kernel tabulated once: the cut-off sits
    // a little under the lower of the two Nyquist rates.
    const double step = double(fromRate) / toRate;
    const double cutoff = 0.45 * std::min(1.0, double(toRate) / fromRate); // cycles per input sample
    const int halfWidth = int(std::ceil(4.0 / cutoff));
    constexpr int Resolution = 64;
    std::vector<float> kernel(size_t(halfWidth * Resolution + 2));
    for (size_t k = 0; k < kernel.size(); ++k) {
        const double x = double(k) / Resolution;
        const double arg = 2.0 * M_PI * cutoff * x;
        const double sinc = x == 0 ? 1.0 : std::sin(arg) / arg;
        const double window = x >= halfWidth ? 0.0 : 0.5 + 0.5 * std::cos(M_PI * x / halfWidth);
        kernel[k] = float(2.0 * cutoff * sinc * window);
    }
    auto tap = [&](double x) {
        const double at = std::abs(x) * Resolution;
        const size_t k = size_t(at);
        if (k + 1 >= kernel.size())
            return 0.0f;
        const float frac = float(at - double(k));
        return kernel[k] + (kernel[k + 1] - kernel[k]) * frac;
    };

    const auto count = size_t(std::floor(double(samples.size()) / step));
    std::vector<float> out(count);
    const auto last = qsizetype(samples.size()) - 1;
    for (size_t n = 0; n < count; ++n) {
        const double centre = double(n) * step;
        const auto first = std::max<qsizetype>(0, qsizetype(std::ceil(centre - halfWidth)));
        const auto end = std::min<qsizetype>(last, qsizetype(std::floor(centre + halfWidth)));
        float sum = 0;
        for (qsizetype i = first; i <= end; ++i)
            sum += samples[size_t(i)] * tap(double(i) - centre);
        out[n] = sum;
    }
    return out;
}
