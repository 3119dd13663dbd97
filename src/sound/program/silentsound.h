// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/soundmodule.h"

// What the program makes when the sound library cannot be loaded: players that
// stay silent, a recorder device whose every command fails (as one without a
// sound card does), a meter that cannot open, and readers that find nothing.
// The window goes on with these, and the learner has been told once why.
class SilentSound final : public SoundModule
{
public:
    // What the learner is told, once at start and again when the meter cannot open.
    static inline const QString Message = QStringLiteral("تعذر تحميل مكتبة الصوت، فلن تُسمع الأمثلة ولن يعمل التسجيل");
    // The reason the other parts give (the recorder's device, the readers).
    static inline const QString Reason = QStringLiteral("the sound library is not loaded");

    SlowedSounds *MakeSlowedSounds(QObject *parent) override;
    MediaPlayer *MakeMediaPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) override;
    WaveAudio *MakeWaveAudio(QObject *parent, SoftwareVolume *volume) override;
    WaveInput *MakeWaveInput(QObject *parent) override;
    StretchPlayer *MakeStretchPlayer(QObject *parent, SoftwareVolume *volume, SlowedSounds *slowed) override;
    std::unique_ptr<SoundDecoder> MakeDecoder() override;
    // None: ALSA comes with the library that did not load.
    MixerDevice *MakeMixerDevice(QObject *parent, SoftwareVolume *programVolume) override;
    SoundInfo ReadSoundInfo(const QString &path) override;
    ReadWaveCall WaveReader() override;
};
