// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/mixerdevice.h"

#include <array>

// A mixer whose lines a test sets up one by one; everything starts missing.
class FakeMixerDevice final : public MixerDevice
{
public:
    struct FakeLine
    {
        bool hasVolume = false;
        qint32 min = 0;
        qint32 max = 0;
        qint32 value = 0;
        bool hasMute = false;
        bool muted = false;
        int writes = 0;
    };

    bool open = true;
    int refreshes = 0;
    std::array<FakeLine, 7> lines {};

    FakeLine &line(Line l) { return lines[size_t(l)]; }
    const FakeLine &line(Line l) const { return lines[size_t(l)]; }
    void addLine(Line l, qint32 min, qint32 max, qint32 value, bool hasMute = true, bool muted = false)
    {
        FakeLine &f = line(l);
        f.hasVolume = true;
        f.min = min;
        f.max = max;
        f.value = value;
        f.hasMute = hasMute;
        f.muted = muted;
    }
    // What another mixer program does: change a line and say so.
    void changeOutside(Line l, qint32 value, bool muted)
    {
        line(l).value = value;
        line(l).muted = muted;
        emit Changed();
    }

    bool IsOpen() const override { return open; }
    void Refresh() override { ++refreshes; }
    bool HasVolume(Line l) const override { return open && line(l).hasVolume; }
    qint32 MinVolume(Line l) const override { return line(l).min; }
    qint32 MaxVolume(Line l) const override { return line(l).max; }
    std::optional<qint32> Volume(Line l) const override
    {
        return HasVolume(l) ? std::optional<qint32>(line(l).value) : std::nullopt;
    }
    bool SetVolume(Line l, qint32 value) override
    {
        if (!HasVolume(l))
            return false;
        line(l).value = value;
        ++line(l).writes;
        return true;
    }
    bool HasMute(Line l) const override { return open && line(l).hasMute; }
    std::optional<bool> Mute(Line l) const override
    {
        return HasMute(l) ? std::optional<bool>(line(l).muted) : std::nullopt;
    }
    bool SetMute(Line l, bool muted) override
    {
        if (!HasMute(l))
            return false;
        line(l).muted = muted;
        return true;
    }
};
