// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the program sets up around its window, shared with the benches so that
// they measure the same start.

// Right to left throughout, and the course's fonts mapped to Debian's.
void SetUpApplication();
