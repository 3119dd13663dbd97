// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/qtsounddecoder.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <algorithm>

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
