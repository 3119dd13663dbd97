// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/program/soundlibrary.h"

#include "sound/api/soundmodule.h"

#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

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
        return m_module;
    m_error.clear();
    QString missing;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(FileName);
        // Never unloaded: the players it makes live as long as the window.
        QPluginLoader loader(path);
        // Every symbol now: one the program lacks fails here, where it is
        // reported, not at the first call, where it would end the program.
        loader.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        QObject *root = loader.instance();
        if (!root) {
            // A library that is there but does not load (one it needs is
            // missing, or it is no plugin of this Qt) is the news; one that is
            // not there is only the fallback.
            if (QFileInfo::exists(path)) {
                m_error = loader.errorString();
                return nullptr;
            }
            if (missing.isEmpty())
                missing = QStringLiteral("%1 is not there").arg(path);
            continue;
        }
        m_module = qobject_cast<SoundModule *>(root);
        if (!m_module) {
            m_error = QStringLiteral("%1 is of another build of the program").arg(path);
            return nullptr;
        }
        return m_module;
    }
    m_error = missing.isEmpty() ? QStringLiteral("no folder to look in") : missing;
    return nullptr;
}
