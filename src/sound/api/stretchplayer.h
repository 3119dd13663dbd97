// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Plays one stretch of a sound file, the reciter's MP3 or the learner's WAV, on
// a player of its own: the reciter's player keeps its example loaded and the
// recorder keeps its devices, whatever the comparison plays. The real one
// (QtStretchPlayer) is made by the sound library.
class StretchPlayer
{
public:
    virtual ~StretchPlayer() = default;

    // From and to in seconds of what is heard at that speed; a new stretch
    // cuts off the one playing.
    virtual void Play(const QString &path, double from, double to, double speed = 1.0) = 0;
    // A short sound made in memory (a cue), whole.
    virtual void PlayWave(const QByteArray &wave) = 0;
    virtual void Stop() = 0;
};
