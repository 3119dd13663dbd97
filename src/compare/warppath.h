// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>
#include <vector>

// Dynamic time warping of two frame sequences inside a band around the
// diagonal: the cheapest monotone path from the first frames to the last.
class WarpPath final
{
public:
    // a: rows x dims, b: cols x dims, row-major. Band: frames either side of the
    // straight line from corner to corner.
    static std::vector<std::pair<int, int>> Align(
        const std::vector<float> &a, int rows, const std::vector<float> &b, int cols, int dims, int band);

    // For each frame of a, where along b it falls (the mean of its matched frames).
    static std::vector<double> MatchedPositions(const std::vector<std::pair<int, int>> &path, int rows);
};
