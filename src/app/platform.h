// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class DocumentView;
class MessageSink;
class SoundModule;

// The platform stand-ins the window talks to. Any left empty is created for real
// (the text-browser page view, the on-screen message boxes, and the sound
// parts from the sound library once the first page is up); tests hand in fakes.
struct Platform
{
    DocumentView *RTF = nullptr;
    MessageSink *messages = nullptr;
    // What makes the players, the recorder's devices, the mixer and the sound
    // readers: when none is given, the sound library loaded from soundFolders
    // (by default beside the program, then where it is installed).
    SoundModule *sound = nullptr;
    QStringList soundFolders = {};
};
