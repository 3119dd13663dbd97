// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/soundparts.h"

#include "sound/api/soundmodule.h"
#include "sound/program/latemixerdevice.h"
#include "sound/program/silentsound.h"
#include "sound/program/soundlibrary.h"

#include <QCoreApplication>

SoundParts::SoundParts(
    QObject *owner, const Platform &platform, SoftwareVolume *programVolume, std::function<void()> loadNow)
    : m_owner(owner)
    , m_volume(programVolume)
    , m_folders(platform.soundFolders)
    , m_given(platform.sound)
{
    // The sound card's mixer comes with the library and opens on its own
    // thread once the first frame is drawn.
    m_lateMixer = new LateMixerDevice(std::move(loadNow), owner);
    m_mixer = m_lateMixer;
}

SoundParts::~SoundParts() = default;

void SoundParts::Load()
{
    if (m_sound)
        return;
    if (m_given) {
        m_sound = m_given;
    } else {
        m_library = std::make_unique<SoundLibrary>();
        const QStringList folders
            = m_folders.isEmpty() ? SoundLibrary::Folders(QCoreApplication::applicationDirPath()) : m_folders;
        m_sound = m_library->Load(folders);
        if (!m_sound) {
            qWarning("rattil: no sound: the sound library could not be loaded: %s", qPrintable(m_library->Error()));
            m_silentSound = std::make_unique<SilentSound>();
            m_sound = m_silentSound.get();
        }
    }
    m_lateMixer->SetDevice(m_sound->MakeMixerDevice(m_lateMixer, m_volume));
    m_slowed = m_sound->MakeSlowedSounds(m_owner);
    m_player = m_sound->MakeMediaPlayer(m_owner, m_volume, m_slowed);
    m_audio = m_sound->MakeWaveAudio(m_owner, m_volume);
    m_input = m_sound->MakeWaveInput(m_owner);
}
