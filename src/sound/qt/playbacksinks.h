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
// keeps the click under 150 ms, where the thread feeding the sink is raised.
// Where the system refuses that, the thread waits behind the busy ones, and a
// 130 ms queue was once seen to run dry (a 25 ms gap in 1 of 6 runs): there
// the sink keeps GStreamer's own 200 ms, and the click takes 170 ms. 10 ms
// pieces keep the sink's writes small.
constexpr long long PlaybackQueueUs = 130000;
constexpr long long UnraisedPlaybackQueueUs = 200000;
constexpr long long PlaybackPieceUs = 10000;

// The queue the sinks are given here: PlaybackQueueUs where the sound threads
// can be raised (SoundThreadsCanBeRaised, asked once), else
// UnraisedPlaybackQueueUs.
long long PlaybackQueue();

// Gives every sound-server sink the process makes from now on the queue above,
// and raises the thread that feeds it (RaiseSoundThread).
// Starts the media backend's library when it is not yet started. Returns false
// when that library cannot start; calling it again changes nothing.
bool TunePlaybackSinks();

// Gives the threads raised as they fed a sink back their own level: called
// once a player has stopped or its pipeline was taken down, when they may go
// back to the backend's pool of threads for other work. Those still feeding a
// playing sink take the raised level again with their next buffer.
void LowerFedThreads();

class QMediaPlayer;
class QUrl;

// The player stopped, then LowerFedThreads.
void StopPlayer(QMediaPlayer *player);
// The player given another sound: its pipeline taken down first, then
// LowerFedThreads, then the new pipeline made, whose threads may come from
// the pool. The same address again is no change, as for QMediaPlayer.
void ReplaceSource(QMediaPlayer *player, const QUrl &url);

// Each time the player starts, raises the thread Qt's FFmpeg backend feeds its
// sink from (that backend makes no GStreamer sink for the hook above): then
// and a moment after, as a new thread takes its name only once it runs. Under
// GStreamer it finds no such thread.
void TunePlayer(QMediaPlayer *player);
