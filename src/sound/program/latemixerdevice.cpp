// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/program/latemixerdevice.h"

#include <QTimer>
#include <utility>

LateMixerDevice::LateMixerDevice(std::function<void()> bring, QObject *parent)
    : MixerDevice(parent)
    , m_bring(std::move(bring))
{
}

void LateMixerDevice::SetDevice(MixerDevice *device)
{
    if (m_handedIn)
        return;
    m_handedIn = true;
    m_device = device;
    std::vector<std::function<void()>> waiting = std::exchange(m_waiting, {});
    if (!m_device) {
        // Settled as missing: what waited runs from the event loop, as promised.
        for (std::function<void()> &then : waiting)
            QTimer::singleShot(0, this, std::move(then));
        return;
    }
    connect(m_device, &MixerDevice::Changed, this, &MixerDevice::Changed);
    if (m_openingAsked)
        m_device->StartOpening();
    for (std::function<void()> &then : waiting)
        m_device->WhenSettled(std::move(then));
}

MixerDevice *LateMixerDevice::Device() const
{
    if (!m_handedIn && m_bring)
        m_bring();
    return m_device;
}

void LateMixerDevice::StartOpening()
{
    m_openingAsked = true;
    if (m_device)
        m_device->StartOpening();
}

void LateMixerDevice::WhenSettled(std::function<void()> then)
{
    if (m_device)
        m_device->WhenSettled(std::move(then));
    else if (m_handedIn)
        QTimer::singleShot(0, this, std::move(then));
    else
        m_waiting.push_back(std::move(then));
}

bool LateMixerDevice::IsOpen() const
{
    MixerDevice *d = Device();
    return d && d->IsOpen();
}

void LateMixerDevice::Refresh()
{
    if (MixerDevice *d = Device())
        d->Refresh();
}

bool LateMixerDevice::HasVolume(Line line) const
{
    MixerDevice *d = Device();
    return d && d->HasVolume(line);
}

qint32 LateMixerDevice::MinVolume(Line line) const
{
    MixerDevice *d = Device();
    return d ? d->MinVolume(line) : 0;
}

qint32 LateMixerDevice::MaxVolume(Line line) const
{
    MixerDevice *d = Device();
    return d ? d->MaxVolume(line) : 0;
}

std::optional<qint32> LateMixerDevice::Volume(Line line) const
{
    MixerDevice *d = Device();
    return d ? d->Volume(line) : std::nullopt;
}

bool LateMixerDevice::SetVolume(Line line, qint32 value)
{
    MixerDevice *d = Device();
    return d && d->SetVolume(line, value);
}

bool LateMixerDevice::HasMute(Line line) const
{
    MixerDevice *d = Device();
    return d && d->HasMute(line);
}

std::optional<bool> LateMixerDevice::Mute(Line line) const
{
    MixerDevice *d = Device();
    return d ? d->Mute(line) : std::nullopt;
}

bool LateMixerDevice::SetMute(Line line, bool muted)
{
    MixerDevice *d = Device();
    return d && d->SetMute(line, muted);
}
