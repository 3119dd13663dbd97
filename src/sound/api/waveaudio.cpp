// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/api/waveaudio.h"

qint64 WaveAudio::ReplyNumber(const QString &reply)
{
    bool ok = false;
    const qint64 value = reply.trimmed().toLongLong(&ok);
    return ok ? value : 0;
}
