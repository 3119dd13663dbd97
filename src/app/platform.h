#pragma once

class DocumentView;
class MediaPlayer;
class MessageSink;
class MixerDevice;
class WaveAudio;
class WaveInput;
class QWidget;

// The platform stand-ins the window talks to. Any left empty is created for real
// (the Qt player, the text-browser page view, the on-screen message boxes);
// tests hand in fakes.
struct Platform
{
    MediaPlayer *MP = nullptr;
    DocumentView *RTF = nullptr;
    MessageSink *messages = nullptr;
    MixerDevice *mixer = nullptr;
    // The recorder's device and the meter's stream.
    WaveAudio *waveAudio = nullptr;
    WaveInput *waveInput = nullptr;
};
