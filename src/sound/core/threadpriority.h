// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/types.h>
#include <vector>

// The threads that hand the reciter's voice to the sound server run ahead of
// the rest of the machine where the system allows it: a busy machine then
// delays them less than the sink's queue rides out. They take the nice level
// the sound server itself takes when it is refused real time, not real time:
// a thread that fed a sink may go back to a pool and be given other work, and
// at real time that work would run flat out ahead of the window.
constexpr int SoundThreadNice = -11;

// Raises thread tid of this process to SoundThreadNice, or as near as the
// process's nice limit (RLIMIT_NICE) allows without the right to raise
// priority (CAP_SYS_NICE). A thread already at or above it is left alone.
// Returns true when the thread now runs above the default level; false,
// silently, when the system refuses (an ordinary desktop user's case).
// before, when given, receives the thread's level before the call.
bool RaiseSoundThread(pid_t tid, int *before = nullptr);

// Gives thread tid back the level it had (the before of RaiseSoundThread):
// lowering a thread needs no right.
void RestoreThread(pid_t tid, int nice);

// Whether a thread this one starts may be raised: the system gives this
// process the right, or a nice limit below the default level. Tried once on
// a thread of its own, which ends.
bool SoundThreadsCanBeRaised();

// The calling thread's id, for RaiseSoundThread.
pid_t CurrentThreadId();

// The threads of this process whose name (as the kernel keeps it, at most 15
// bytes) begins with prefix.
std::vector<pid_t> ThreadsNamed(const char *prefix);
