// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtsoundmodule.h"

#include "sound/alsa/alsamixerdevice.h"
#include "sound/qt/qtmediaplayer.h"
#include "sound/qt/qtsounddecoder.h"
#include "sound/qt/qtstretchplayer.h"
#include "sound/qt/qtwaveaudio.h"
#include "sound/qt/qtwaveinput.h"
#include "sound/qt/slowedsounds.h"
#include "sound/qt/soundloader.h"

SlowedSounds *QtSoundModule::MakeSlowedSounds(QObject *parent)
{
    return new SlowedSounds(parent);
}

MediaPlayer *QtSoundModule::MakeMediaPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed)
{
    return new QtMediaPlayer(parent, volume, slowed);
}

WaveAudio *QtSoundModule::MakeWaveAudio(QObject *parent, SoftwareVolume *volume)
{
    return new QtWaveAudio(parent, volume);
}

WaveInput *QtSoundModule::MakeWaveInput(QObject *parent)
{
    return new QtWaveInput(parent);
}

StretchPlayer *QtSoundModule::MakeStretchPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed)
{
    return new QtStretchPlayer(volume, parent, slowed);
}

std::unique_ptr<SoundDecoder> QtSoundModule::MakeDecoder()
{
    return std::make_unique<QtSoundDecoder>();
}

SoundInfo QtSoundModule::ReadSoundInfo(const QString &path)
{
    return ::ReadSoundInfo(path);
}

SoundModule::ReadWaveCall QtSoundModule::WaveReader()
{
    return [](const QString &path, int rate, QString *error) { return SoundLoader::ReadWave(path, rate, error); };
}

MixerDevice *QtSoundModule::MakeMixerDevice(QObject *parent, SoftwareVolume *programVolume)
{
    return new AlsaMixerDevice(programVolume, QStringLiteral("default"), parent);
}
