// SPDX-License-Identifier: GPL-3.0-or-later

#include "soundmeter.h"

#include "base/numbers.h"
#include "sound/api/waveinput.h"

#include <QLabel>
#include <cstdlib>

SoundMeter::SoundMeter(WaveInput &input, const std::array<QLabel *, PracticeControls::MeterSegments + 1> &vm,
    ShowMessageBox showMessageBox)
    : m_input(input)
    , m_vm(vm)
    , m_showMessageBox(std::move(showMessageBox))
{
}

bool SoundMeter::StartMeter()
{
    // Listen during a recording used to open a second stream on top of the first.
    if (m_input.IsOpen())
        return true;
    m_lastLevel = 0;
    m_hasReading = false;
    QString errorText;
    if (!m_input.Open(&errorText)) {
        if (m_showMessageBox)
            m_showMessageBox(errorText);
        return false;
    }
    return true;
}

int SoundMeter::StopMeter()
{
    m_input.Close();
    m_lastLevel = 0;
    m_hasReading = false;
    return 0;
}

int SoundMeter::ReadPeak()
{
    if (!m_input.IsOpen())
        return 0;
    const QByteArray buffer = m_input.TakeNewestBuffer();
    if (!buffer.isEmpty()) {
        m_lastLevel = PeakOf(buffer);
        m_hasReading = true;
    }
    return m_lastLevel;
}

int SoundMeter::PeakOf(const QByteArray &samples)
{
    int peak = 0;
    for (const char byte : samples) {
        const int d = std::abs(static_cast<unsigned char>(byte) - 128);
        if (d > peak)
            peak = d;
    }
    return peak;
}

int SoundMeter::LitSegments(qint16 level)
{
    return int(RoundHalfEven(double(PracticeControls::MeterSegments) * level / 100.0));
}

void SoundMeter::ShowLevel(qint16 level)
{
    const int lit = LitSegments(level);
    for (int k = 1; k <= PracticeControls::MeterSegments; ++k) {
        if (m_vm[k])
            m_vm[k]->setVisible(k <= lit);
    }
}
