// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <functional>
#include <optional>

// The sound card's mixer as the volume controls see it: lines found by their
// role, each with an integer volume range of its own and a boolean mute.
// A line the card lacks has no volume and no mute.
class MixerDevice : public QObject
{
    Q_OBJECT
public:
    enum class Line { Speakers, Microphone, WaveOut, LineIn, Auxiliary, CompactDisc, Synthesizer };

    using QObject::QObject;
    ~MixerDevice() override = default;

    // A device that opens on its own time begins here; one that opened as it
    // was made has nothing to do. Asking it anything first opens it at once.
    virtual void StartOpening() { }
    // Calls then from the event loop once the device is open or known to be
    // missing, or at once when it already is. It does not begin the open.
    virtual void WhenSettled(std::function<void()> then) { then(); }

    // False when no mixer could be opened; every line is then missing.
    virtual bool IsOpen() const = 0;
    // Takes in what changed outside the program since the last look.
    virtual void Refresh() = 0;

    virtual bool HasVolume(Line line) const = 0;
    virtual qint32 MinVolume(Line line) const = 0;
    virtual qint32 MaxVolume(Line line) const = 0;
    // Nothing when the line has no volume or the card would not answer.
    virtual std::optional<qint32> Volume(Line line) const = 0;
    virtual bool SetVolume(Line line, qint32 value) = 0;

    virtual bool HasMute(Line line) const = 0;
    virtual std::optional<bool> Mute(Line line) const = 0;
    virtual bool SetMute(Line line, bool muted) = 0;

signals:
    // A level or a mute changed, by this program or by another.
    void Changed();
};
