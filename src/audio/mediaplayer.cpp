#include "mediaplayer.h"

MediaPlayer::~MediaPlayer() = default;
