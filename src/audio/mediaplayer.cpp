// SPDX-License-Identifier: GPL-3.0-or-later

#include "mediaplayer.h"

MediaPlayer::~MediaPlayer() = default;
