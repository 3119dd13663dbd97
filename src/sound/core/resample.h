// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

// Changes the rate of mono samples; when it lowers it, content above the new
// Nyquist rate is damped first so it does not fold back into the speech band.
std::vector<float> Resample(const std::vector<float> &samples, int fromRate, int toRate);
