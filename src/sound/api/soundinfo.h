// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// What the examples panel needs to know of a sound file before it plays: whether
// it decodes, how long it lasts, and its title and artist tags. Read through
// TagLib synchronously; the player and the course checker share it so that the
// checker rejects exactly the files the player would.
struct SoundInfo
{
    bool readable = false; // decodes and reports a duration above zero
    double duration = 0; // seconds
    QString title;
    QString author;
    // The file's comment (a take's note of the speed it was recorded at).
    QString comment;
};

// These two are the sound library's (they need TagLib): the window asks its
// SoundModule, the tools call them directly.
SoundInfo ReadSoundInfo(const QString &path);
// The same from an MP3 file's bytes, read by the parser that the path's
// ".mp3" picks.
SoundInfo ReadSoundInfo(const QByteArray &bytes);
