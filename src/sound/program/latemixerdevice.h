// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/mixerdevice.h"

#include <functional>
#include <vector>

// The window's mixer before the sound library, which makes the real one (ALSA
// and the sound server's client under it), has loaded after the first frame.
// It stands for the device the library hands in and passes everything on to
// it. A question asked before then has the library loaded at once (bring), so
// that it is answered as the card has it; the open and what waits for it are
// passed on when the device comes. With no device (the library could not be
// loaded) every line is missing, as for a card with no mixer.
class LateMixerDevice final : public MixerDevice
{
    Q_OBJECT
public:
    explicit LateMixerDevice(std::function<void()> bring, QObject *parent = nullptr);

    // The library's device, or null when it has none; handed in once.
    void SetDevice(MixerDevice *device);

    void StartOpening() override;
    void WhenSettled(std::function<void()> then) override;

    bool IsOpen() const override;
    void Refresh() override;

    bool HasVolume(Line line) const override;
    qint32 MinVolume(Line line) const override;
    qint32 MaxVolume(Line line) const override;
    std::optional<qint32> Volume(Line line) const override;
    bool SetVolume(Line line, qint32 value) override;

    bool HasMute(Line line) const override;
    std::optional<bool> Mute(Line line) const override;
    bool SetMute(Line line, bool muted) override;

private:
    // The device, brought first when it is still to come.
    MixerDevice *Device() const;

    std::function<void()> m_bring;
    MixerDevice *m_device = nullptr;
    bool m_handedIn = false;
    bool m_openingAsked = false;
    std::vector<std::function<void()>> m_waiting;
};
