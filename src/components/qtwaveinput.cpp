#include "qtwaveinput.h"

#include "audioconverter.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>

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
    if (m_source) {
        m_source->stop();
        delete m_source;
    }
    m_source = nullptr;
    m_io = nullptr;
    m_converter.reset();
    m_pending.clear();
    m_newest.clear();
}

void QtWaveInput::Drain()
{
    if (!m_io)
        return;
    m_pending += m_converter->Convert(m_io->readAll());
    const qsizetype full = m_pending.size() / BufferSize;
    if (full == 0)
        return;
    m_newest = m_pending.mid((full - 1) * BufferSize, BufferSize);
    m_pending.remove(0, full * BufferSize);
}

QByteArray QtWaveInput::TakeNewestBuffer()
{
    Drain();
    QByteArray newest;
    newest.swap(m_newest);
    return newest;
}
