// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/program/mediabackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QByteArray PreferredMediaBackend(const QStringList &pluginFolders)
{
    for (const QString &folder : pluginFolders) {
        if (QFileInfo::exists(QDir(folder).filePath(QStringLiteral("multimedia/libgstreamermediaplugin.so"))))
            return QByteArrayLiteral("gstreamer");
    }
    return {};
}

void ChooseMediaBackend()
{
    if (!qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        return;
    // Static, so it answers before the application object exists: Qt's plugin
    // folder and QT_PLUGIN_PATH, which is where Qt Multimedia will look.
    const QByteArray backend = PreferredMediaBackend(QCoreApplication::libraryPaths());
    if (!backend.isEmpty())
        qputenv("QT_MEDIA_BACKEND", backend);
}
