// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/platform.h"

#include <QStringList>
#include <functional>
#include <memory>

class LateMixerDevice;
class MediaPlayer;
class MixerDevice;
class QObject;
class SilentSound;
class SlowedSounds;
class SoftwareVolume;
class SoundLibrary;
class SoundModule;
class WaveAudio;
class WaveInput;

// The window's sound: the sound library (Qt Multimedia, libsndfile, TagLib
// and some two dozen libraries below them) and the players, the recorder's
// devices and the mixer it makes. The library is loaded by Load, not at
// start: the first page needs none of it. Where it cannot be loaded the
// program goes on silent. A module handed in by the platform (a test's) is used
// instead of the library.
class SoundParts final
{
public:
    // loadNow: what the mixer's stand-in calls when it is first needed
    // before the library came (it loads it).
    SoundParts(QObject *owner, const Platform &platform, SoftwareVolume *programVolume, std::function<void()> loadNow);
    ~SoundParts();

    // A stand-in until the library has come, then passing on to its mixer.
    MixerDevice *Mixer() const { return m_mixer; }
    // Loads the library and makes the parts; once.
    void Load();
    bool Loaded() const { return m_sound != nullptr; }
    // True when the library could not be loaded and the parts are silent.
    bool Silent() const { return m_silentSound != nullptr; }

    SoundModule *Module() const { return m_sound; }
    MediaPlayer *Player() const { return m_player; }
    WaveAudio *Audio() const { return m_audio; }
    WaveInput *Input() const { return m_input; }
    SlowedSounds *Slowed() const { return m_slowed; }

private:
    QObject *m_owner;
    SoftwareVolume *m_volume;
    QStringList m_folders;
    SoundModule *m_given = nullptr;
    SoundModule *m_sound = nullptr;
    std::unique_ptr<SoundLibrary> m_library;
    std::unique_ptr<SilentSound> m_silentSound;
    MixerDevice *m_mixer = nullptr;
    LateMixerDevice *m_lateMixer = nullptr;
    MediaPlayer *m_player = nullptr;
    WaveAudio *m_audio = nullptr;
    WaveInput *m_input = nullptr;
    SlowedSounds *m_slowed = nullptr;
};
