// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "mixer/clsvolume.h"

#include <QString>

class MessageSink;
class MixerDevice;

// Volume and mute by line word: "master" is the speakers' output, "wave" the
// program's own sound and "mic" the microphone, in any letter case; any other
// word does nothing and reads 0 and not muted. Volumes are in percent of the
// line's maximum.
class MVolume final
{
public:
    // messages shows "No mixer found!" the first time an operation finds no mixer.
    MVolume(MixerDevice *device, MessageSink *messages);

    qint32 GetVolume(const QString &word);
    void SetVolume(const QString &word, qint32 percent);
    bool GetMute(const QString &word);
    void SetMute(const QString &word, bool mute);

    // Whether there is a mixer to act on now.
    bool MixerFound() const;

    // The learner has been told the program is silent (no sound library): a
    // missing mixer is part of that, and no box of its own follows.
    void NoSoundTold() { m_noMixerShown = true; }

private:
    clsVolume Open();

    MixerDevice *m_device = nullptr;
    MessageSink *m_messages = nullptr;
    // One box a run: the learner cannot do anything about it a second time.
    bool m_noMixerShown = false;
};
