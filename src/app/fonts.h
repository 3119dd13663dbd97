// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Course files name the Windows fonts they were written for. Each is mapped to a
// font Debian ships, so an unchanged config.ini still draws Arabic well.
void RegisterFontSubstitutions();
