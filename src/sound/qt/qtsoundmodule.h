// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/soundmodule.h"

// The sound parts on Qt Multimedia, libsndfile and TagLib. The sound library's
// plugin object is one (plugin.cpp); tests that link the parts make their own.
class QtSoundModule : public SoundModule
{
public:
    SlowedSounds *MakeSlowedSounds(QObject *parent) override;
    MediaPlayer *MakeMediaPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) override;
    WaveAudio *MakeWaveAudio(QObject *parent, SoftwareVolume *volume) override;
    WaveInput *MakeWaveInput(QObject *parent) override;
    StretchPlayer *MakeStretchPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) override;
    std::unique_ptr<SoundDecoder> MakeDecoder() override;
    MixerDevice *MakeMixerDevice(QObject *parent, SoftwareVolume *programVolume) override;
    SoundInfo ReadSoundInfo(const QString &path) override;
    ReadWaveCall WaveReader() override;
};
