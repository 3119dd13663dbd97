// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How much sound the media backend's sound-server sink keeps queued ahead of
// what is heard. GStreamer's pulsesink queues 200 ms by default: measured here,
// a lesson's first example then began to sound some 170 ms after the click;
// with the queue below, some 110 ms. 80 ms still rides out a busy desktop (the
// sound server keeps its own buffer below it); 10 ms pieces keep the sink's
// writes small.
constexpr long long PlaybackQueueUs = 80000;
constexpr long long PlaybackPieceUs = 10000;

// Gives every sound-server sink the process makes from now on the queue above.
// Starts the media backend's library when it is not yet started. Returns false
// when that library cannot start; calling it again changes nothing.
bool ShortenPlaybackQueue();
