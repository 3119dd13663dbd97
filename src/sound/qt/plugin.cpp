// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtsoundmodule.h"

#include <QObject>

// The sound library's root object, made by Qt's plugin loader: everything in
// the library is reached through the module it is.
class SoundPlugin final : public QObject, public QtSoundModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RattilSoundModuleIid)
    Q_INTERFACES(SoundModule)
};

#include "plugin.moc"
