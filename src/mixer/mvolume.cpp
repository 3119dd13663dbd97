// SPDX-License-Identifier: GPL-3.0-or-later

#include "mvolume.h"

#include "base/numbers.h"
#include "sound/api/mixerdevice.h"
#include "widgets/messagesink.h"

#include <optional>

namespace {

std::optional<clsVolume::Line> LineOfWord(const QString &word)
{
    const QString w = word.toLower();
    if (w == QLatin1String("master"))
        return clsVolume::Wave;
    if (w == QLatin1String("wave"))
        return clsVolume::WaveIn;
    if (w == QLatin1String("mic"))
        return clsVolume::Micro;
    return std::nullopt;
}

} // namespace

MVolume::MVolume(MixerDevice *device, MessageSink *messages)
    : m_device(device)
    , m_messages(messages)
{
}

clsVolume MVolume::Open()
{
    return clsVolume(m_device, [this] {
        if (m_noMixerShown)
            return;
        m_noMixerShown = true;
        if (m_messages)
            m_messages->ShowMessageBox(QStringLiteral("No mixer found!"));
    });
}

qint32 MVolume::GetVolume(const QString &word)
{
    const clsVolume volume = Open();
    const auto line = LineOfWord(word);
    if (!line)
        return 0;
    const qint32 maximum = volume.MaxVolume(*line);
    if (maximum == 0)
        return 0;
    return qint32(RoundHalfEven(double(volume.Volume(*line)) * 100.0 / maximum));
}

void MVolume::SetVolume(const QString &word, qint32 percent)
{
    clsVolume volume = Open();
    const auto line = LineOfWord(word);
    if (!line)
        return;
    const double value = RoundHalfEven(double(volume.MaxVolume(*line)) * percent / 100.0);
    volume.SetVolume(*line, qint32(qBound(-2147483648.0, value, 2147483647.0)));
}

bool MVolume::GetMute(const QString &word)
{
    const clsVolume volume = Open();
    const auto line = LineOfWord(word);
    return line && volume.Mute(*line) != 0;
}

void MVolume::SetMute(const QString &word, bool mute)
{
    clsVolume volume = Open();
    if (const auto line = LineOfWord(word))
        volume.SetMute(*line, mute ? 1 : 0);
}

bool MVolume::MixerFound() const
{
    return m_device && m_device->IsOpen();
}
