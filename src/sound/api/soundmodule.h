// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/monosound.h"
#include "sound/api/soundinfo.h"

#include <QString>
#include <QtPlugin>
#include <functional>
#include <memory>
#include <optional>

class MediaPlayer;
class MixerDevice;
class QObject;
class SlowedSounds;
class SoftwareVolume;
class SoundDecoder;
class StretchPlayer;
class WaveAudio;
class WaveInput;

// What the sound library makes: every part of the program that plays, records,
// decodes or reads a sound file, and the sound card's mixer. The library
// (rattil-sound, loaded once the first page is up) links Qt Multimedia,
// libsndfile, TagLib and ALSA, and their some two dozen libraries, so that the
// program does not load them before its first frame; the program sees only this.
// The library is a Qt plugin whose root object is a SoundModule.
//
// The players are QObjects with the parent given, and go with it. The library
// is never unloaded, so what it made stays valid.
class SoundModule
{
public:
    virtual ~SoundModule() = default;

    // The reciter slowed with its pitch kept, shared by the players below.
    virtual SlowedSounds *MakeSlowedSounds(QObject *parent) = 0;
    // volume: the program's own output line the player follows.
    virtual MediaPlayer *MakeMediaPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) = 0;
    virtual WaveAudio *MakeWaveAudio(QObject *parent, SoftwareVolume *volume) = 0;
    virtual WaveInput *MakeWaveInput(QObject *parent) = 0;
    virtual StretchPlayer *MakeStretchPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) = 0;
    virtual std::unique_ptr<SoundDecoder> MakeDecoder() = 0;
    // The sound card's mixer, not yet opened (MixerDevice::StartOpening), or
    // null when there is none to reach. programVolume stands for the wave-out
    // line on a card without one.
    virtual MixerDevice *MakeMixerDevice(QObject *parent, SoftwareVolume *programVolume) = 0;
    // A sound file's length and tags, read at once.
    virtual SoundInfo ReadSoundInfo(const QString &path) = 0;
    // Reads a WAV such as the learner's take, in mono at rate: on any thread,
    // and still after this object has gone (a comparison on a worker may
    // outlive the window that started it).
    using ReadWaveCall = std::function<std::optional<MonoSound>(const QString &path, int rate, QString *error)>;
    virtual ReadWaveCall WaveReader() = 0;
};

// The plugin's interface name. Its number is raised whenever this class or
// what it hands out changes shape, so that a library from another build is
// refused instead of called wrongly.
#define RattilSoundModuleIid "org.rattil.SoundModule/3"
Q_DECLARE_INTERFACE(SoundModule, RattilSoundModuleIid)
