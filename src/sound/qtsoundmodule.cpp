// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qtsoundmodule.h"

#include "audio/qtmediaplayer.h"
#include "audio/qtsounddecoder.h"
#include "audio/qtwaveaudio.h"
#include "audio/qtwaveinput.h"
#include "audio/slowedsounds.h"
#include "compare/qtstretchplayer.h"
#include "compare/soundloader.h"
#include "mixer/alsamixerdevice.h"

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
