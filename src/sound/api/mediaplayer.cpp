// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/api/mediaplayer.h"

MediaPlayer::~MediaPlayer() = default;
