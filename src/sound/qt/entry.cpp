// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/qtsoundmodule.h"

// The one symbol the library shows: everything else in it is reached through
// the module it returns.
extern "C" __attribute__((visibility("default"))) SoundModule *RattilSoundModule(int version)
{
    if (version != SoundModule::Version)
        return nullptr;
    return new QtSoundModule;
}
