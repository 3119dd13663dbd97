// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/waveinput.h"

#include <QObject>
#include <memory>

class AudioConverter;
class QAudioSource;
class QIODevice;

// The meter's stream from the default input. Data arrives in push mode; only the
// newest BufferSize bytes are kept.
class QtWaveInput final : public QObject, public WaveInput
{
    Q_OBJECT
public:
    explicit QtWaveInput(QObject *parent = nullptr);
    ~QtWaveInput() override;

    bool Open(QString *errorText) override;
    void Close() override;
    bool IsOpen() const override { return m_source != nullptr; }
    QByteArray TakeNewestBuffer() override;

private:
    void Drain();

    QAudioSource *m_source = nullptr;
    QIODevice *m_io = nullptr;
    std::unique_ptr<AudioConverter> m_converter;
    QByteArray m_window;
    bool m_fresh = false;
};
