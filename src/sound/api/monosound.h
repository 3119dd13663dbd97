// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

// One channel of samples in -1..1 at a known rate: what both takes become before
// they are compared, whatever file they came from.
struct MonoSound final
{
    std::vector<float> samples;
    int rate = 0;

    double Seconds() const { return rate > 0 ? double(samples.size()) / rate : 0.0; }
};
