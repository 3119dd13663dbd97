#include "compare/soundloader.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QUrl>

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace {

// A file this long is not an example; past it the decoder is stopped rather than
// left filling memory.
constexpr double LongestSeconds = 600.0;
constexpr int DecodeTimeoutMs = 30000;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Appends a decoded buffer, channels averaged, as floats in -1..1.
void appendMono(const QAudioBuffer &buffer, std::vector<float> &out)
{
    const QAudioFormat format = buffer.format();
    const int channels = std::max(1, format.channelCount());
    const qsizetype frames = buffer.frameCount();
    const auto *bytes = buffer.constData<unsigned char>();
    const int bytesPerSample = format.bytesPerSample();
    if (!bytes || bytesPerSample <= 0)
        return;
    out.reserve(out.size() + size_t(frames));
    for (qsizetype f = 0; f < frames; ++f) {
        float sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += format.normalizedSampleValue(bytes + (f * channels + c) * bytesPerSample);
        out.push_back(sum / channels);
    }
}

} // namespace

std::optional<MonoSound> SoundLoader::DecodeCompressed(const QString &path, int rate, QString *error)
{
    if (!QFile::exists(path)) {
        setError(error, QStringLiteral("no such file: %1").arg(path));
        return std::nullopt;
    }
    // The decoder reports through signals, so this thread runs its own loop until
    // the file is done; the caller's thread is never the window's.
    QAudioDecoder decoder;
    QAudioFormat wanted;
    wanted.setSampleRate(rate);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::Float);
    decoder.setAudioFormat(wanted);

    std::vector<float> samples;
    int decodedRate = 0;
    bool done = false;
    bool tooLong = false;
    QString failure;
    QEventLoop loop;
    auto finish = [&] {
        done = true;
        loop.quit();
    };
    QObject::connect(&decoder, &QAudioDecoder::bufferReady, &loop, [&] {
        const QAudioBuffer buffer = decoder.read();
        if (!buffer.isValid())
            return;
        const int bufferRate = buffer.format().sampleRate();
        if (decodedRate == 0)
            decodedRate = bufferRate;
        if (bufferRate != decodedRate) {
            failure = QStringLiteral("the sample rate changed while decoding");
            decoder.stop();
            finish();
            return;
        }
        appendMono(buffer, samples);
        if (double(samples.size()) > LongestSeconds * decodedRate) {
            tooLong = true;
            decoder.stop();
            finish();
        }
    });
    QObject::connect(&decoder, &QAudioDecoder::finished, &loop, finish, Qt::QueuedConnection);
    QObject::connect(
        &decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), &loop,
        [&](QAudioDecoder::Error) {
            failure = decoder.errorString().isEmpty() ? QStringLiteral("the file could not be decoded")
                                                      : decoder.errorString();
            finish();
        },
        Qt::QueuedConnection);
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
        failure = QStringLiteral("decoding took too long");
        finish();
    });

    decoder.setSource(QUrl::fromLocalFile(path));
    decoder.start();
    timeout.start(DecodeTimeoutMs);
    if (!done)
        loop.exec();
    decoder.stop();

    if (tooLong) {
        setError(error, QStringLiteral("longer than %1 s").arg(LongestSeconds));
        return std::nullopt;
    }
    if (!failure.isEmpty()) {
        setError(error, failure);
        return std::nullopt;
    }
    if (decodedRate <= 0) {
        setError(error, QStringLiteral("no sound in the file"));
        return std::nullopt;
    }
    MonoSound sound;
    sound.samples = Resample(samples, decodedRate, rate);
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
