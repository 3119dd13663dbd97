// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The learner's recorder and player, driven by the command strings the recorder
// has always spoken ("open new type waveaudio alias capture", "record capture",
// "status voice1 position", ...). Words are matched in any letter case. Every
// command answers at once; positions and lengths are in milliseconds. Beyond
// those, "set capture journal PATH" writes the take to disk as it comes and
// "set capture comment TEXT" gives the saved file a comment of its own.
class WaveAudio
{
public:
    virtual ~WaveAudio() = default;

    // The reply text: a number for the status commands, empty for the others.
    // A command that failed answers with ErrorPrefix and a reason, so a caller
    // that must not ignore a failure (saving a take) can tell.
    virtual QString Send(const QString &command) = 0;

    static inline const QString ErrorPrefix = QStringLiteral("error: ");
    static bool IsError(const QString &reply) { return reply.startsWith(ErrorPrefix); }
    // A reply that is not a number counts as 0: with no sound device the recorder
    // must still reach its limit and stop instead of waiting for ever.
    static qint64 ReplyNumber(const QString &reply);
};
