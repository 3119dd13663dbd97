// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/softwarevolume.h"

#include <QtGlobal>

#include <cmath>

SoftwareVolume::SoftwareVolume(QObject *parent)
    : QObject(parent)
{
}

void SoftwareVolume::setVolume(int volume)
{
    volume = qBound(0, volume, Maximum);
    if (volume == m_volume)
        return;
    m_volume = volume;
    emit changed();
}

void SoftwareVolume::setMuted(bool muted)
{
    if (muted == m_muted)
        return;
    m_muted = muted;
    emit changed();
}

float SoftwareVolume::gain() const
{
    if (m_muted)
        return 0.0f;
    // The line is heard as a fader is: its position p stands for the amplitude
    // -ln(1 - p) / ln 100, Qt's logarithmic volume scale made linear as
    // QAudio::convertVolume makes it. Written out here, so that the mixer, made
    // at start, needs nothing of Qt Multimedia.
    const double level = double(m_volume) / Maximum;
    if (level > 0.99)
        return 1.0f;
    return float(-std::log(1.0 - level) / std::log(100.0));
}
