// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtsounddecoder.h"

#include "sound/core/resample.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QTimer>
#include <QUrl>
#include <QtConcurrent>

#include <sndfile.h>

#include <algorithm>
#include <optional>

namespace {

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

// The whole file through libsndfile, channels averaged and brought to rate;
// none when libsndfile cannot read it.
std::optional<SoundDecoder::Result> readWithSndfile(const QString &path, int rate)
{
    SF_INFO info = {};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return std::nullopt;
    SoundDecoder::Result result;
    if (info.channels <= 0 || info.samplerate <= 0 || info.frames <= 0
        || double(info.frames) > SoundDecoder::LongestSeconds * info.samplerate) {
        sf_close(file);
        return std::nullopt;
    }
    std::vector<float> interleaved(size_t(info.frames) * size_t(info.channels));
    const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    if (read <= 0)
        return std::nullopt;
    std::vector<float> mono(static_cast<size_t>(read));
    for (size_t f = 0; f < mono.size(); ++f) {
        float sum = 0;
        for (int c = 0; c < info.channels; ++c)
            sum += interleaved[f * size_t(info.channels) + size_t(c)];
        mono[f] = sum / float(info.channels);
    }
    result.samples = rate > 0 && rate != info.samplerate ? Resample(mono, info.samplerate, rate) : std::move(mono);
    result.rate = rate > 0 ? rate : info.samplerate;
    return result;
}

} // namespace

QtSoundDecoder::QtSoundDecoder(QObject *parent)
    : QObject(parent)
{
}

QtSoundDecoder::~QtSoundDecoder()
{
    Cancel();
}

void QtSoundDecoder::Start(const QString &path, int rate, std::function<void(Result)> done)
{
    Cancel();
    m_result = {};
    m_done = std::move(done);
    if (!QFile::exists(path)) {
        finish(QStringLiteral("no such file: %1").arg(path));
        return;
    }
    const quint64 generation = ++m_generation;
    auto *watcher = new QFutureWatcher<std::optional<Result>>(this);
    connect(watcher, &QFutureWatcher<std::optional<Result>>::finished, this, [this, watcher, generation, path, rate] {
        watcher->deleteLater();
        if (generation != m_generation || !m_done)
            return;
        std::optional<Result> result = watcher->result();
        if (!result) {
            startQt(path, rate);
            return;
        }
        m_result = std::move(*result);
        finish(QString());
    });
    watcher->setFuture(QtConcurrent::run([path, rate] { return readWithSndfile(path, rate); }));
}

void QtSoundDecoder::startQt(const QString &path, int rate)
{
    // A decoder for each file: one that has failed or been stopped half-way
    // does not always start cleanly again.
    m_decoder = new QAudioDecoder(this);
    QAudioFormat wanted;
    wanted.setSampleRate(rate);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::Float);
    m_decoder->setAudioFormat(wanted);
    QAudioDecoder *decoder = m_decoder;
    connect(decoder, &QAudioDecoder::bufferReady, this, [this, decoder] {
        if (decoder != m_decoder)
            return;
        const QAudioBuffer buffer = decoder->read();
        if (!buffer.isValid())
            return;
        const int bufferRate = buffer.format().sampleRate();
        if (m_result.rate == 0)
            m_result.rate = bufferRate;
        if (bufferRate != m_result.rate) {
            finish(QStringLiteral("the sample rate changed while decoding"));
            return;
        }
        appendMono(buffer, m_result.samples);
        if (double(m_result.samples.size()) > LongestSeconds * m_result.rate)
            finish(QStringLiteral("longer than %1 s").arg(LongestSeconds));
    });
    connect(decoder, &QAudioDecoder::finished, this, [this, decoder] {
        if (decoder == m_decoder)
            finish(m_result.rate > 0 ? QString() : QStringLiteral("no sound in the file"));
    });
    connect(decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), this, [this, decoder] {
        if (decoder == m_decoder)
            finish(decoder->errorString().isEmpty() ? QStringLiteral("the file could not be decoded")
                                                    : decoder->errorString());
    });
    if (!m_timeout) {
        m_timeout = new QTimer(this);
        m_timeout->setSingleShot(true);
        connect(m_timeout, &QTimer::timeout, this, [this] { finish(QStringLiteral("decoding took too long")); });
    }
    m_timeout->start(TimeoutMs);
    // GStreamer's file source opens only absolute paths: a course folder
    // given relative to the working directory would decode nothing.
    decoder->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    decoder->start();
}

void QtSoundDecoder::Cancel()
{
    ++m_generation;
    m_done = nullptr;
    if (m_timeout)
        m_timeout->stop();
    if (QAudioDecoder *decoder = std::exchange(m_decoder, nullptr)) {
        decoder->disconnect(this);
        decoder->stop();
        decoder->deleteLater();
    }
}

void QtSoundDecoder::finish(const QString &error)
{
    std::function<void(Result)> done = std::exchange(m_done, nullptr);
    Result result = std::move(m_result);
    m_result = {};
    if (!error.isEmpty()) {
        result.error = error;
        result.samples.clear();
        result.rate = 0;
    }
    Cancel();
    if (done)
        done(std::move(result));
}
