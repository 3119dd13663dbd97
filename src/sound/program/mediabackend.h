// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QStringList>

// GStreamer plays the reciters' MP3s on time on Qt 6.4 (its FFmpeg backend ran a
// 3 s file for 4.1 s there), so it is asked for wherever its plugin is installed.
// Elsewhere nothing is forced: Debian 13's Qt Multimedia ships only its FFmpeg
// backend, and a name Qt cannot load leaves every player silent.
QByteArray PreferredMediaBackend(const QStringList &pluginFolders);

// Sets QT_MEDIA_BACKEND from the folders Qt searches for plugins, unless the
// user has set it. Runs before the first player or decoder is made.
void ChooseMediaBackend();
