// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/alsa/alsamixerdevice.h"

#include "sound/core/softwarevolume.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <QTimer>

#include <alsa/asoundlib.h>

namespace {

constexpr snd_mixer_selem_channel_id_t FirstChannel = SND_MIXER_SCHN_FRONT_LEFT;

// Runs off the window's thread: through the sound server it takes milliseconds.
snd_mixer_t *OpenMixer(const QByteArray &name)
{
    snd_mixer_t *mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0)
        return nullptr;
    if (snd_mixer_attach(mixer, name.constData()) < 0 || snd_mixer_selem_register(mixer, nullptr, nullptr) < 0
        || snd_mixer_load(mixer) < 0) {
        snd_mixer_close(mixer);
        return nullptr;
    }
    // The sound server's plugin answers its first events with a round trip
    // each; taking them here keeps them off the window's first question.
    if (snd_mixer_handle_events(mixer) < 0) {
        snd_mixer_close(mixer);
        return nullptr;
    }
    return mixer;
}

// Where a sound server makes its socket, and where the cards' devices appear.
// The runtime folder itself is watched too: a server may make its own folder
// in it afresh when it starts.
QStringList ServerPlaces()
{
    QStringList places;
    const QString server = qEnvironmentVariable("PULSE_SERVER");
    for (const QString &address : server.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (address.startsWith(QLatin1String("unix:")))
            places << QFileInfo(address.mid(5)).absolutePath();
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        places << runtime + QStringLiteral("/pulse") << runtime;
    places << QStringLiteral("/dev/snd");
    QStringList existing;
    for (const QString &place : places) {
        if (QFileInfo(place).isDir() && !existing.contains(place))
            existing << place;
    }
    return existing;
}

// A try that fails is made again after 100, 200, 400, 800 and 1600 ms.
constexpr int RetryPause = 100;
constexpr int Retries = 5;

snd_mixer_elem_t *FindElement(snd_mixer_t *mixer, const QString &name)
{
    if (!mixer || name.isEmpty())
        return nullptr;
    snd_mixer_selem_id_t *id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    const QByteArray latin = name.toLatin1();
    snd_mixer_selem_id_set_name(id, latin.constData());
    return snd_mixer_find_selem(mixer, id);
}

bool HasPlaybackVolume(snd_mixer_elem_t *e)
{
    return e && snd_mixer_selem_has_playback_volume(e);
}

bool HasCaptureVolume(snd_mixer_elem_t *e)
{
    return e && snd_mixer_selem_has_capture_volume(e);
}

} // namespace

AlsaMixerDevice::AlsaMixerDevice(SoftwareVolume *programVolume, const QString &device, QObject *parent)
    : MixerDevice(parent)
    , m_programVolume(programVolume)
    , m_device(device.toLocal8Bit())
{
    if (m_programVolume)
        connect(m_programVolume, &SoftwareVolume::changed, this, &MixerDevice::Changed);
}

AlsaMixerDevice::~AlsaMixerDevice()
{
    if (m_opening.valid() && !m_mixer)
        m_mixer = m_opening.get();
    if (m_reopening.valid()) {
        if (snd_mixer_t *late = m_reopening.get())
            snd_mixer_close(late);
    }
    Close();
}

void AlsaMixerDevice::StartOpening()
{
    if (std::exchange(m_openingStarted, true))
        return;
    m_opening = std::async(std::launch::async, [this, name = m_device] {
        snd_mixer_t *mixer = OpenMixer(name);
        // The destructor waits for this thread, so the object is still there.
        QMetaObject::invokeMethod(this, &AlsaMixerDevice::Opened, Qt::QueuedConnection);
        return mixer;
    });
}

void AlsaMixerDevice::WhenSettled(std::function<void()> then)
{
    if (m_settled) {
        then();
        return;
    }
    // Not begun here: the window registers its bars in the skin step, before
    // the first frame the open must wait for.
    m_whenSettled.push_back(std::move(then));
}

void AlsaMixerDevice::Opened()
{
    Settle();
    m_settled = true;
    for (const std::function<void()> &then : std::exchange(m_whenSettled, {}))
        then();
}

void AlsaMixerDevice::Settle() const
{
    auto *self = const_cast<AlsaMixerDevice *>(this);
    self->StartOpening();
    if (!m_opening.valid())
        return;
    snd_mixer_t *mixer = m_opening.get();
    if (mixer)
        self->Adopt(mixer);
    else
        self->WatchForReturn();
}

void AlsaMixerDevice::Adopt(snd_mixer_t *mixer)
{
    m_mixer = mixer;
    FindControls();
    WatchDescriptors();
}

bool AlsaMixerDevice::IsOpen() const
{
    Settle();
    return m_mixer != nullptr;
}

void AlsaMixerDevice::Close()
{
    // Close may run inside a notifier's own signal, so they go later.
    for (QSocketNotifier *notifier : m_notifiers) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    m_notifiers.clear();
    m_descriptors.clear();
    if (m_mixer)
        snd_mixer_close(m_mixer);
    m_mixer = nullptr;
}

// Elements are looked up by name at every use rather than kept: the simple
// mixer frees an element when its card takes it away.
void AlsaMixerDevice::FindControls()
{
    const auto playback = [this](Line line, const char *name) {
        Control &c = m_controls[size_t(line)];
        c = Control {};
        if (HasPlaybackVolume(FindElement(m_mixer, QLatin1String(name))))
            c.name = QLatin1String(name);
    };
    playback(Line::Speakers, "Master");
    playback(Line::LineIn, "Line");
    playback(Line::Auxiliary, "Aux");
    playback(Line::CompactDisc, "CD");
    playback(Line::Synthesizer, "Synth");

    // The learner records through the microphone, so its recording level is the
    // one that matters; a Mic element with only a monitor level still counts.
    Control &mic = m_controls[size_t(Line::Microphone)];
    mic = Control {};
    snd_mixer_elem_t *e = FindElement(m_mixer, QStringLiteral("Mic"));
    if (HasCaptureVolume(e)) {
        mic.name = QStringLiteral("Mic");
        mic.capture = true;
    } else if (HasPlaybackVolume(e)) {
        mic.name = QStringLiteral("Mic");
    } else if (HasCaptureVolume(FindElement(m_mixer, QStringLiteral("Capture")))) {
        mic.name = QStringLiteral("Capture");
        mic.capture = true;
    }

    // The wave row has a mute toggle beside its bars, so its line must have a
    // switch as well as a volume: many cards' PCM has only the volume, and the
    // program's own line can do both.
    Control &wave = m_controls[size_t(Line::WaveOut)];
    wave = Control {};
    snd_mixer_elem_t *pcm = FindElement(m_mixer, QStringLiteral("PCM"));
    if (HasPlaybackVolume(pcm) && (snd_mixer_selem_has_playback_switch(pcm) || !m_programVolume))
        wave.name = QStringLiteral("PCM");
    else if (m_programVolume)
        wave.software = true;
}

snd_mixer_elem_t *AlsaMixerDevice::Element(Line line) const
{
    const Control &c = ControlOf(line);
    if (!m_mixer || c.software)
        return nullptr;
    return FindElement(m_mixer, c.name);
}

// Runs at the start of an operation; the controls hear of a lost mixer once
// that operation is over.
void AlsaMixerDevice::Refresh()
{
    Settle();
    if (m_mixer && snd_mixer_handle_events(m_mixer) < 0) {
        Lose();
        QTimer::singleShot(0, this, &MixerDevice::Changed);
    }
}

void AlsaMixerDevice::Lose()
{
    Close();
    WatchForReturn();
}

void AlsaMixerDevice::WatchForReturn()
{
    if (!m_serverWatch) {
        m_serverWatch = new QFileSystemWatcher(this);
        // Each change is news: the tries start over.
        connect(m_serverWatch, &QFileSystemWatcher::directoryChanged, this, [this] {
            m_retries = 0;
            Reopen();
        });
        m_retry = new QTimer(this);
        m_retry->setSingleShot(true);
        connect(m_retry, &QTimer::timeout, this, &AlsaMixerDevice::Reopen);
    }
    const QStringList places = ServerPlaces();
    const QStringList watched = m_serverWatch->directories();
    for (const QString &place : places) {
        if (!watched.contains(place))
            m_serverWatch->addPath(place);
    }
}

void AlsaMixerDevice::Reopen()
{
    if (m_mixer || m_reopening.valid())
        return;
    // The server's own folder may have been made just now.
    WatchForReturn();
    m_reopening = std::async(std::launch::async, [this, name = m_device] {
        snd_mixer_t *mixer = OpenMixer(name);
        // The destructor waits for this thread, so the object is still there.
        QMetaObject::invokeMethod(this, &AlsaMixerDevice::Reopened, Qt::QueuedConnection);
        return mixer;
    });
}

void AlsaMixerDevice::Reopened()
{
    if (!m_reopening.valid())
        return;
    snd_mixer_t *mixer = m_reopening.get();
    if (!mixer) {
        if (m_retries < Retries)
            m_retry->start(RetryPause << m_retries++);
        return;
    }
    m_retry->stop();
    m_retries = 0;
    if (!m_serverWatch->directories().isEmpty())
        m_serverWatch->removePaths(m_serverWatch->directories());
    Adopt(mixer);
    emit Changed();
}

void AlsaMixerDevice::WatchDescriptors()
{
    const int count = snd_mixer_poll_descriptors_count(m_mixer);
    if (count <= 0)
        return;
    m_descriptors.resize(size_t(count));
    if (snd_mixer_poll_descriptors(m_mixer, m_descriptors.data(), unsigned(count)) < 0) {
        m_descriptors.clear();
        return;
    }
    for (const pollfd &fd : m_descriptors) {
        if (fd.events & POLLIN) {
            auto *notifier = new QSocketNotifier(fd.fd, QSocketNotifier::Read, this);
            connect(notifier, &QSocketNotifier::activated, this, &AlsaMixerDevice::DescriptorsReady);
            m_notifiers.push_back(notifier);
        }
        if (fd.events & POLLOUT) {
            auto *notifier = new QSocketNotifier(fd.fd, QSocketNotifier::Write, this);
            connect(notifier, &QSocketNotifier::activated, this, &AlsaMixerDevice::DescriptorsReady);
            m_notifiers.push_back(notifier);
        }
    }
}

// A descriptor that reports an error would wake us for ever; a mixer that has
// gone away is closed instead, and its lines read as missing until it is back.
void AlsaMixerDevice::DescriptorsReady()
{
    if (!m_mixer)
        return;
    std::vector<pollfd> ready = m_descriptors;
    for (pollfd &fd : ready)
        fd.revents = 0;
    if (poll(ready.data(), nfds_t(ready.size()), 0) < 0)
        return;
    unsigned short revents = 0;
    if (snd_mixer_poll_descriptors_revents(m_mixer, ready.data(), unsigned(ready.size()), &revents) < 0
        || (revents & (POLLERR | POLLHUP | POLLNVAL))) {
        Lose();
        emit Changed();
        return;
    }
    // Read whatever is pending even when the plugin reports no event: a
    // descriptor left readable would otherwise wake us again at once.
    if (snd_mixer_handle_events(m_mixer) < 0)
        Lose();
    emit Changed();
}

bool AlsaMixerDevice::HasVolume(Line line) const
{
    Settle();
    const Control &c = ControlOf(line);
    return m_mixer && (c.software || !c.name.isEmpty());
}

std::pair<qint32, qint32> AlsaMixerDevice::Range(Line line) const
{
    Settle();
    if (ControlOf(line).software)
        return { 0, m_mixer ? SoftwareVolume::Maximum : 0 };
    snd_mixer_elem_t *e = Element(line);
    long min = 0, max = 0;
    if (!e)
        return { 0, 0 };
    if (ControlOf(line).capture)
        snd_mixer_selem_get_capture_volume_range(e, &min, &max);
    else
        snd_mixer_selem_get_playback_volume_range(e, &min, &max);
    return { qint32(min), qint32(max) };
}

qint32 AlsaMixerDevice::MinVolume(Line line) const
{
    return Range(line).first;
}

qint32 AlsaMixerDevice::MaxVolume(Line line) const
{
    return Range(line).second;
}

std::optional<qint32> AlsaMixerDevice::Volume(Line line) const
{
    Settle();
    if (ControlOf(line).software) {
        if (!m_mixer)
            return std::nullopt;
        return m_programVolume->volume();
    }
    snd_mixer_elem_t *e = Element(line);
    if (!e)
        return std::nullopt;
    long value = 0;
    const int err = ControlOf(line).capture ? snd_mixer_selem_get_capture_volume(e, FirstChannel, &value)
                                            : snd_mixer_selem_get_playback_volume(e, FirstChannel, &value);
    if (err < 0)
        return std::nullopt;
    return qint32(value);
}

bool AlsaMixerDevice::SetVolume(Line line, qint32 value)
{
    Settle();
    if (ControlOf(line).software) {
        if (!m_mixer)
            return false;
        m_programVolume->setVolume(value);
        return true;
    }
    snd_mixer_elem_t *e = Element(line);
    if (!e)
        return false;
    return (ControlOf(line).capture ? snd_mixer_selem_set_capture_volume_all(e, value)
                                    : snd_mixer_selem_set_playback_volume_all(e, value))
        >= 0;
}

bool AlsaMixerDevice::HasMute(Line line) const
{
    Settle();
    if (ControlOf(line).software)
        return m_mixer != nullptr;
    snd_mixer_elem_t *e = Element(line);
    if (!e)
        return false;
    return ControlOf(line).capture ? snd_mixer_selem_has_capture_switch(e) : snd_mixer_selem_has_playback_switch(e);
}

// A switch is on while the line sounds: muted is its opposite.
std::optional<bool> AlsaMixerDevice::Mute(Line line) const
{
    Settle();
    if (ControlOf(line).software) {
        if (!m_mixer)
            return std::nullopt;
        return m_programVolume->muted();
    }
    if (!HasMute(line))
        return std::nullopt;
    snd_mixer_elem_t *e = Element(line);
    int on = 1;
    const int err = ControlOf(line).capture ? snd_mixer_selem_get_capture_switch(e, FirstChannel, &on)
                                            : snd_mixer_selem_get_playback_switch(e, FirstChannel, &on);
    if (err < 0)
        return std::nullopt;
    return on == 0;
}

bool AlsaMixerDevice::SetMute(Line line, bool muted)
{
    Settle();
    if (ControlOf(line).software) {
        if (!m_mixer)
            return false;
        m_programVolume->setMuted(muted);
        return true;
    }
    if (!HasMute(line))
        return false;
    snd_mixer_elem_t *e = Element(line);
    const int on = muted ? 0 : 1;
    return (ControlOf(line).capture ? snd_mixer_selem_set_capture_switch_all(e, on)
                                    : snd_mixer_selem_set_playback_switch_all(e, on))
        >= 0;
}
