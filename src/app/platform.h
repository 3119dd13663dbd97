// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class DocumentView;
class MediaPlayer;
class MessageSink;
class MixerDevice;
class SoundModule;
class WaveAudio;
class WaveInput;
class QWidget;

// The platform stand-ins the window talks to. Any left empty is created for real
// (the text-browser page view, the on-screen message boxes, and the players from
// the sound library once the first page is up); tests hand in fakes.
struct Platform
{
    MediaPlayer *MP = nullptr;
    DocumentView *RTF = nullptr;
    MessageSink *messages = nullptr;
    MixerDevice *mixer = nullptr;
    // The recorder's device and the meter's stream.
    WaveAudio *waveAudio = nullptr;
    WaveInput *waveInput = nullptr;
    // What makes the players, devices and readers not handed in above: when
    // none is given, the sound library loaded from soundFolders (by default
    // beside the program, then where it is installed).
    SoundModule *sound = nullptr;
    QStringList soundFolders = {};
};
