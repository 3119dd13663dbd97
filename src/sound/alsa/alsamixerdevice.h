// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/mixerdevice.h"

#include <QString>
#include <array>
#include <functional>
#include <future>
#include <poll.h>
#include <utility>
#include <vector>

class QFileSystemWatcher;
class QSocketNotifier;
class QTimer;
class SoftwareVolume;

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

// The sound card's mixer through ALSA's simple-mixer API. On a desktop the
// `default` device is the sound server's plugin, which offers Master and Capture.
// Speakers are Master; the microphone is Mic, else Capture; the program's sound
// is PCM when it also has a switch, else the program's own line; line-in is Line (Aux stands for
// the auxiliary source); then CD and Synth. Changes made by other programs are
// taken in as ALSA signals them on its poll descriptors.
//
// Opening the mixer goes through the sound server, whose client library (and
// the sound-file codecs it links) is more than the first page needs: it opens
// on a thread of its own once StartOpening is called, after the first frame.
// A question asked before the open has finished waits for it.
//
// A mixer that could not be opened, or that went away with its sound server,
// is opened again when the server comes back. Nothing ticks while it is gone:
// the folders where the server makes its socket (and where the kernel makes
// the cards' devices) are watched, and each change there is a try. A try that
// fails (the socket is there before the server answers on it) is repeated a few
// times after a growing pause, then the watch waits for the next change.
class AlsaMixerDevice final : public MixerDevice
{
    Q_OBJECT
public:
    // programVolume stands for the wave-out line when the card has no PCM control.
    explicit AlsaMixerDevice(
        SoftwareVolume *programVolume, const QString &device = QStringLiteral("default"), QObject *parent = nullptr);
    ~AlsaMixerDevice() override;

    void StartOpening() override;
    void WhenSettled(std::function<void()> then) override;

    bool IsOpen() const override;
    void Refresh() override;

    bool HasVolume(Line line) const override;
    qint32 MinVolume(Line line) const override;
    qint32 MaxVolume(Line line) const override;
    std::optional<qint32> Volume(Line line) const override;
    bool SetVolume(Line line, qint32 value) override;

    bool HasMute(Line line) const override;
    std::optional<bool> Mute(Line line) const override;
    bool SetMute(Line line, bool muted) override;

private:
    // Where a line lives: a simple element, in its capture or playback half, or
    // the program's own line.
    struct Control
    {
        QString name;
        bool capture = false;
        bool software = false;
    };
    // Takes over the mixer the opening thread made, once, waiting for it.
    void Settle() const;
    // The open has finished: what waited for it runs.
    void Opened();
    void FindControls();
    snd_mixer_elem_t *Element(Line line) const;
    // The line's lowest and highest volume; both 0 for a line that is missing.
    std::pair<qint32, qint32> Range(Line line) const;
    const Control &ControlOf(Line line) const { return m_controls[size_t(line)]; }
    void Adopt(snd_mixer_t *mixer);
    void WatchDescriptors();
    void DescriptorsReady();
    void Close();
    // The mixer is gone: close what is left and wait for the server's return.
    void Lose();
    void WatchForReturn();
    void Reopen();
    void Reopened();

    SoftwareVolume *m_programVolume = nullptr;
    QByteArray m_device;
    mutable std::future<snd_mixer_t *> m_opening;
    mutable bool m_openingStarted = false;
    bool m_settled = false;
    std::vector<std::function<void()>> m_whenSettled;
    std::future<snd_mixer_t *> m_reopening;
    QFileSystemWatcher *m_serverWatch = nullptr;
    QTimer *m_retry = nullptr;
    int m_retries = 0;
    mutable snd_mixer_t *m_mixer = nullptr;
    mutable std::array<Control, 7> m_controls {};
    std::vector<pollfd> m_descriptors;
    std::vector<QSocketNotifier *> m_notifiers;
};
