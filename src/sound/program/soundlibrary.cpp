// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/program/soundlibrary.h"

#include "sound/api/soundmodule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

SoundLibrary::SoundLibrary() = default;
SoundLibrary::~SoundLibrary() = default;

QStringList SoundLibrary::Folders(const QString &programFolder)
{
    QStringList folders { QDir::cleanPath(programFolder) };
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/" RATTIL_SOUND_MODULE_FROM_BIN));
    if (!folders.contains(installed))
        folders << installed;
    const QString prefix = QDir::cleanPath(QStringLiteral(RATTIL_SOUND_MODULE_DIR));
    if (!folders.contains(prefix))
        folders << prefix;
    return folders;
}

SoundModule *SoundLibrary::Load(const QStringList &folders)
{
    if (m_module)
        return m_module.get();
    m_error.clear();
    QString missing;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(FileName);
        // Never unloaded: the players it makes live as long as the window.
        QLibrary library(path);
        // Every symbol now: one the program lacks fails here, where it is
        // reported, not at the first call, where it would end the program.
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load()) {
            // A library that is there but does not load (one it needs is
            // missing) is the news; one that is not there is only the fallback.
            if (QFileInfo::exists(path)) {
                m_error = library.errorString();
                return nullptr;
            }
            if (missing.isEmpty())
                missing = library.errorString();
            continue;
        }
        const auto entry = reinterpret_cast<SoundModuleEntry>(library.resolve(SoundModuleEntryName));
        if (!entry) {
            m_error = library.errorString();
            return nullptr;
        }
        m_module.reset(entry(SoundModule::Version));
        if (!m_module) {
            m_error = QStringLiteral("%1 is of another build of the program").arg(path);
            return nullptr;
        }
        return m_module.get();
    }
    m_error = missing.isEmpty() ? QStringLiteral("no folder to look in") : missing;
    return nullptr;
}
