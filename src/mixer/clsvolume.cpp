// SPDX-License-Identifier: GPL-3.0-or-later

#include "clsvolume.h"

#include <QtGlobal>

using Source = MixerDevice::Line;

clsVolume::clsVolume(MixerDevice *device, const std::function<void()> &noMixer)
{
    if (!device || !device->IsOpen()) {
        if (noMixer)
            noMixer();
        return;
    }
    m_device = device;
    m_device->Refresh();

    FindControls(Wave, Source::Speakers);
    FindControls(Micro, Source::Microphone);
    FindControls(WaveIn, Source::WaveOut);
    FindControls(LineIn, Source::LineIn);
    if (!m_lines[LineIn].volume)
        FindControls(LineIn, Source::Auxiliary);
    FindControls(CD, Source::CompactDisc);
    FindControls(MIDI, Source::Synthesizer);
}

// A line's mute counts only beside its volume: a line without a volume control
// is treated as missing altogether.
void clsVolume::FindControls(Line line, MixerDevice::Line source)
{
    Found &found = m_lines[line];
    found = Found {};
    found.line = source;
    if (!m_device->HasVolume(source))
        return;
    found.volume = true;
    found.min = m_device->MinVolume(source);
    found.max = m_device->MaxVolume(source);
    found.mute = m_device->HasMute(source);
}

qint32 clsVolume::Volume(Line line) const
{
    const Found &found = m_lines[line];
    if (!m_device || !found.volume)
        return 0;
    return m_device->Volume(found.line).value_or(0);
}

void clsVolume::SetVolume(Line line, qint32 value)
{
    const Found &found = m_lines[line];
    if (!m_device || !found.volume)
        return;
    if (value > found.max)
        value = found.max;
    if (value < found.min)
        value = found.min;
    m_device->SetVolume(found.line, value);
}

qint32 clsVolume::Mute(Line line) const
{
    const Found &found = m_lines[line];
    if (!m_device || !found.mute)
        return 0;
    return m_device->Mute(found.line).value_or(false) ? 1 : 0;
}

void clsVolume::SetMute(Line line, qint32 value)
{
    const Found &found = m_lines[line];
    if (!m_device || !found.mute)
        return;
    m_device->SetMute(found.line, value != 0);
}
