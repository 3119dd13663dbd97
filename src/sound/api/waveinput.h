// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The level meter's own capture stream: 8-bit unsigned mono at 8000 samples per
// second, handed out in full buffers of BufferSize bytes (100 ms each).
class WaveInput
{
public:
    static constexpr int SampleRate = 8000;
    static constexpr int BufferSize = 800;

    virtual ~WaveInput() = default;

    // False with the device's reason in errorText when it cannot be opened.
    virtual bool Open(QString *errorText) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // The newest full buffer that came in since the last call, or an empty array
    // when none did. Never waits: the meter is read from the window's thread.
    virtual QByteArray TakeNewestBuffer() = 0;
};
