// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/mixerdevice.h"

#include <array>
#include <functional>

// Typed access to six lines of the mixer: volume, mute and volume bounds. Made
// for one operation and dropped after it, so every operation sees the mixer as
// it is now; it costs no more than a look at the device's pending changes.
// A line the mixer lacks has bounds 0 and 0, reads 0 and ignores writes.
class clsVolume final
{
public:
    // Lines by the names of their properties: Wave is the speakers (master)
    // output, WaveIn the program's sound on its way to the speakers.
    enum Line { Wave, Micro, WaveIn, LineIn, CD, MIDI, LineCount };

    // noMixer runs when there is no mixer to open.
    clsVolume(MixerDevice *device, const std::function<void()> &noMixer);

    qint32 Volume(Line line) const;
    // Clamped into the line's bounds.
    void SetVolume(Line line, qint32 value);
    // Non-zero when muted.
    qint32 Mute(Line line) const;
    void SetMute(Line line, qint32 value);
    qint32 MinVolume(Line line) const { return m_lines[line].min; }
    qint32 MaxVolume(Line line) const { return m_lines[line].max; }

    qint32 WaveVolume() const { return Volume(Wave); }
    void SetWaveVolume(qint32 v) { SetVolume(Wave, v); }
    qint32 WaveMute() const { return Mute(Wave); }
    void SetWaveMute(qint32 v) { SetMute(Wave, v); }
    qint32 MinWaveVolume() const { return MinVolume(Wave); }
    qint32 MaxWaveVolume() const { return MaxVolume(Wave); }

    qint32 MicroVolume() const { return Volume(Micro); }
    void SetMicroVolume(qint32 v) { SetVolume(Micro, v); }
    qint32 MicroMute() const { return Mute(Micro); }
    void SetMicroMute(qint32 v) { SetMute(Micro, v); }
    qint32 MinMicVolume() const { return MinVolume(Micro); }
    qint32 MaxMicVolume() const { return MaxVolume(Micro); }

    qint32 WaveInVolume() const { return Volume(WaveIn); }
    void SetWaveInVolume(qint32 v) { SetVolume(WaveIn, v); }
    qint32 WaveInMute() const { return Mute(WaveIn); }
    void SetWaveInMute(qint32 v) { SetMute(WaveIn, v); }
    qint32 MinWavInVolume() const { return MinVolume(WaveIn); }
    qint32 MaxWavInVolume() const { return MaxVolume(WaveIn); }

    qint32 LineInVolume() const { return Volume(LineIn); }
    void SetLineInVolume(qint32 v) { SetVolume(LineIn, v); }
    qint32 LineInMute() const { return Mute(LineIn); }
    void SetLineInMute(qint32 v) { SetMute(LineIn, v); }
    qint32 MinLineInVolume() const { return MinVolume(LineIn); }
    qint32 MaxLineInVolume() const { return MaxVolume(LineIn); }

    qint32 CD_Volume() const { return Volume(CD); }
    void SetCD_Volume(qint32 v) { SetVolume(CD, v); }
    qint32 CD_Mute() const { return Mute(CD); }
    void SetCD_Mute(qint32 v) { SetMute(CD, v); }
    qint32 MinCDVolume() const { return MinVolume(CD); }
    qint32 MaxCDVolume() const { return MaxVolume(CD); }

    qint32 MIDIVolume() const { return Volume(MIDI); }
    void SetMIDIVolume(qint32 v) { SetVolume(MIDI, v); }
    qint32 MIDIMute() const { return Mute(MIDI); }
    void SetMIDIMute(qint32 v) { SetMute(MIDI, v); }
    qint32 MinMidVolume() const { return MinVolume(MIDI); }
    qint32 MaxMidVolume() const { return MaxVolume(MIDI); }

private:
    struct Found
    {
        MixerDevice::Line line = MixerDevice::Line::Speakers;
        bool volume = false;
        bool mute = false;
        qint32 min = 0;
        qint32 max = 0;
    };
    void FindControls(Line line, MixerDevice::Line source);

    MixerDevice *m_device = nullptr;
    std::array<Found, LineCount> m_lines {};
};
