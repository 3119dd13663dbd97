// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How much sound the media backend's sound-server sink keeps queued ahead of
// what is heard. The sink starts sounding about half its queue after the
// first sample is ready, so the queue is a trade between the lesson click's
// latency and how long a stall of the machine it rides out. Measured here
// (bench/window.sh, the click to the first sound less the file's lead-in):
// GStreamer's default 200 ms gave 170 ms; 160 ms, 152; 130 ms, 134; 80 ms,
// 110, but a loaded machine then dropped moments inside a play. 130 ms rides
// out a stall of over 100 ms, as the gap test's two busy loops make, and
// keeps the click under 150 ms. 10 ms pieces keep the sink's writes small.
constexpr long long PlaybackQueueUs = 130000;
constexpr long long PlaybackPieceUs = 10000;

// Gives every sound-server sink the process makes from now on the queue above.
// Starts the media backend's library when it is not yet started. Returns false
// when that library cannot start; calling it again changes nothing.
bool ShortenPlaybackQueue();
