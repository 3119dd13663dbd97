#pragma once

// What the program sets up around its window, shared with the benches so that
// they measure the same start.

// GStreamer plays the reciters' MP3s on time; keep it even where another
// backend is installed beside it. Runs before the application object exists.
void ChooseMediaBackend();

// Right to left throughout, and the course's fonts mapped to Debian's.
void SetUpApplication();
