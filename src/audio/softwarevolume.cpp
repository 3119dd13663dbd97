#include "softwarevolume.h"

#include <QAudio>
#include <QtGlobal>

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
    return QAudio::convertVolume(float(m_volume) / Maximum, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale);
}
