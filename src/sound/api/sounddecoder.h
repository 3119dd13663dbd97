// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <functional>
#include <vector>

// Decodes a compressed file (the reciter's MP3) on the thread it is used on,
// without ever waiting there: the real one (QtSoundDecoder, in the sound
// library) lets the multimedia backend decode on threads of its own and hands
// the samples over as events of this thread's loop. Nothing is left behind for
// a shutdown to wait for: Cancel, or destroying the decoder, ends a decoding at once.
class SoundDecoder
{
public:
    struct Result final
    {
        // Mono, -1..1, at the file's own rate (rate 0 when nothing came).
        std::vector<float> samples;
        int rate = 0;
        QString error;
    };

    // A file this long is not an example; past it decoding stops.
    static constexpr double LongestSeconds = 600.0;
    static constexpr int TimeoutMs = 30000;

    virtual ~SoundDecoder() = default;

    // Cuts off a decoding still running (its callback is never called).
    // rate: the rate asked of the backend, which may give another one.
    virtual void Start(const QString &path, int rate, std::function<void(Result)> done) = 0;
    virtual void Cancel() = 0;
    virtual bool IsRunning() const = 0;
};
