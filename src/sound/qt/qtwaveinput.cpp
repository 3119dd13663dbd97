// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtwaveinput.h"

#include "sound/qt/audioconverter.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>

#include <utility>

QtWaveInput::QtWaveInput(QObject *parent)
    : QObject(parent)
{
}

QtWaveInput::~QtWaveInput()
{
    Close();
}

bool QtWaveInput::Open(QString *errorText)
{
    Close();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        if (errorText)
            *errorText = QStringLiteral("لا يوجد جهاز لإدخال الصوت");
        return false;
    }
    QAudioFormat wanted;
    wanted.setSampleRate(SampleRate);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::UInt8);
    const QAudioFormat format = DeviceFormatFor(device, wanted);
    m_converter = std::make_unique<AudioConverter>(format, wanted);
    m_source = new QAudioSource(device, format, this);
    // Short device buffers keep the meter close to the voice.
    m_source->setBufferSize(format.bytesForDuration(50000));
    m_io = m_source->start();
    if (!m_io || m_source->error() != QAudio::NoError) {
        if (errorText)
            *errorText = QStringLiteral("تعذر فتح جهاز إدخال الصوت: %1").arg(device.description());
        Close();
        return false;
    }
    connect(m_io, &QIODevice::readyRead, this, &QtWaveInput::Drain);
    return true;
}

void QtWaveInput::Close()
{
    // Forgotten before it is stopped: the sound server's backend spins the event
    // loop while the source goes, and a meter tick meanwhile must find nothing to read.
    QAudioSource *source = std::exchange(m_source, nullptr);
    m_io = nullptr;
    if (source) {
        source->stop();
        delete source;
    }
    m_converter.reset();
    m_window.clear();
    m_fresh = false;
}

// The meter shows the newest 100 ms of sound: a window that slides with every
// piece that comes in, rather than buffers cut at fixed points, so a voice shows
// on the next tick instead of up to a whole buffer later.
void QtWaveInput::Drain()
{
    if (!m_io)
        return;
    const QByteArray bytes = m_converter->Convert(m_io->readAll());
    if (bytes.isEmpty())
        return;
    m_window += bytes;
    if (m_window.size() > BufferSize)
        m_window.remove(0, m_window.size() - BufferSize);
    m_fresh = m_window.size() == BufferSize;
}

QByteArray QtWaveInput::TakeNewestBuffer()
{
    Drain();
    if (!m_fresh)
        return {};
    m_fresh = false;
    return m_window;
}
