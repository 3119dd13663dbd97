// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "practice/practicecontrols.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>

class QLabel;
class WaveInput;

// The input level meter: its own capture stream beside the recording, read on the
// recorder's tick and shown as up to eight lit segments.
class SoundMeter final
{
public:
    // The platform's standard message box.
    using ShowMessageBox = std::function<void(const QString &text)>;

    SoundMeter(WaveInput &input, const std::array<QLabel *, PracticeControls::MeterSegments + 1> &vm,
        ShowMessageBox showMessageBox);

    bool StartMeter();
    int StopMeter();
    // The peak of the newest full buffer, at once: the last level when no new
    // buffer came since the last call, 0 while the meter is not running.
    int ReadPeak();
    // Whether the input has given a buffer since the meter opened: until then
    // ReadPeak's 0 is no reading at all.
    bool HasReading() const { return m_hasReading; }
    void ShowLevel(qint16 level);

    // Largest deviation from silence (128) in an 8-bit unsigned buffer: 0..128.
    static int PeakOf(const QByteArray &samples);
    // Segments lit for a level: 8 x level / 100, halves to even (may exceed 8).
    static int LitSegments(qint16 level);

private:
    WaveInput &m_input;
    std::array<QLabel *, PracticeControls::MeterSegments + 1> m_vm;
    ShowMessageBox m_showMessageBox;
    int m_lastLevel = 0;
    bool m_hasReading = false;
};
