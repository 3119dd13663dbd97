// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/platform.h"
#include "sound/api/sounddecoder.h"
#include "sound/api/soundmodule.h"
#include "sound/program/silentsound.h"

// A sound module that hands out the fakes it is given, and for every part it
// is not given asks the module below it (the silent one, or the real library).
struct FakeSoundModule final : SoundModule
{
    explicit FakeSoundModule(SoundModule &below)
        : below(below)
    {
    }

    SoundModule &below;
    MediaPlayer *player = nullptr;
    MixerDevice *mixer = nullptr;
    WaveAudio *audio = nullptr;
    WaveInput *input = nullptr;

    SlowedSounds *MakeSlowedSounds(QObject *parent) override { return below.MakeSlowedSounds(parent); }
    MediaPlayer *MakeMediaPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) override
    {
        return player ? player : below.MakeMediaPlayer(parent, volume, slowed);
    }
    WaveAudio *MakeWaveAudio(QObject *parent, SoftwareVolume *volume) override
    {
        return audio ? audio : below.MakeWaveAudio(parent, volume);
    }
    WaveInput *MakeWaveInput(QObject *parent) override { return input ? input : below.MakeWaveInput(parent); }
    StretchPlayer *MakeStretchPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) override
    {
        return below.MakeStretchPlayer(parent, volume, slowed);
    }
    std::unique_ptr<SoundDecoder> MakeDecoder() override { return below.MakeDecoder(); }
    MixerDevice *MakeMixerDevice(QObject *parent, SoftwareVolume *programVolume) override
    {
        return mixer ? mixer : below.MakeMixerDevice(parent, programVolume);
    }
    SoundInfo ReadSoundInfo(const QString &path) override { return below.ReadSoundInfo(path); }
    ReadWaveCall WaveReader() override { return below.WaveReader(); }
};

// The window's platform with the fakes given, and every other sound part
// silent. Lives as long as the window it is handed to.
struct FakePlatform final
{
    FakePlatform(MediaPlayer *player, MessageSink *messages, MixerDevice *mixer, WaveAudio *audio = nullptr,
        WaveInput *input = nullptr)
    {
        module.player = player;
        module.mixer = mixer;
        module.audio = audio;
        module.input = input;
        platform.messages = messages;
        platform.sound = &module;
    }
    FakePlatform(const FakePlatform &) = delete;
    FakePlatform &operator=(const FakePlatform &) = delete;
    operator Platform() const { return platform; }

    SilentSound silent;
    FakeSoundModule module { silent };
    Platform platform;
};
