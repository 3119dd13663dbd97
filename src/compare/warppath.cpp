// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/warppath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum Step : unsigned char { Diagonal, Up, Left };

} // namespace

std::vector<std::pair<int, int>> WarpPath::Align(
    const std::vector<float> &a, int rows, const std::vector<float> &b, int cols, int dims, int band)
{
    if (rows <= 0 || cols <= 0 || dims <= 0 || a.size() < size_t(rows) * dims || b.size() < size_t(cols) * dims)
        return {};
    band = std::max(band, 1);
    // Each row keeps only its band; the bands rise with the diagonal, so rows
    // overlap their neighbours and the corners are always reachable.
    const double slope = rows > 1 ? double(cols - 1) / (rows - 1) : 0.0;
    std::vector<int> lo(static_cast<size_t>(rows)), hi(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const double centre = i * slope;
        lo[size_t(i)] = std::max(0, int(std::floor(centre - band - slope)));
        hi[size_t(i)] = std::min(cols - 1, int(std::ceil(centre + band + slope)));
    }
    if (rows == 1) {
        lo[0] = 0;
        hi[0] = cols - 1;
    }
    int stride = 0;
    for (int i = 0; i < rows; ++i)
        stride = std::max(stride, hi[size_t(i)] - lo[size_t(i)] + 1);

    constexpr float Infinite = std::numeric_limits<float>::infinity();
    std::vector<float> previous(size_t(stride), Infinite), current(size_t(stride), Infinite);
    std::vector<unsigned char> steps(size_t(rows) * size_t(stride), Diagonal);

    for (int i = 0; i < rows; ++i) {
        const float *x = a.data() + size_t(i) * dims;
        std::fill(current.begin(), current.end(), Infinite);
        const int plo = i > 0 ? lo[size_t(i - 1)] : 0;
        const int phi = i > 0 ? hi[size_t(i - 1)] : -1;
        for (int j = lo[size_t(i)]; j <= hi[size_t(i)]; ++j) {
            const float *y = b.data() + size_t(j) * dims;
            float d = 0;
            for (int k = 0; k < dims; ++k) {
                const float diff = x[k] - y[k];
                d += diff * diff;
            }
            d = std::sqrt(d);
            const size_t at = size_t(j - lo[size_t(i)]);
            if (i == 0 && j == 0) {
                current[at] = d;
                continue;
            }
            float best = Infinite;
            unsigned char step = Diagonal;
            if (i > 0 && j > 0 && j - 1 >= plo && j - 1 <= phi) {
                best = previous[size_t(j - 1 - plo)];
                step = Diagonal;
            }
            if (i > 0 && j >= plo && j <= phi && previous[size_t(j - plo)] < best) {
                best = previous[size_t(j - plo)];
                step = Up;
            }
            if (j > lo[size_t(i)] && current[at - 1] < best) {
                best = current[at - 1];
                step = Left;
            }
            current[at] = best + d;
            steps[size_t(i) * size_t(stride) + at] = step;
        }
        std::swap(previous, current);
    }

    std::vector<std::pair<int, int>> path;
    path.reserve(size_t(rows + cols));
    int i = rows - 1;
    int j = cols - 1;
    while (true) {
        path.emplace_back(i, j);
        if (i == 0 && j == 0)
            break;
        const unsigned char step = steps[size_t(i) * size_t(stride) + size_t(j - lo[size_t(i)])];
        if (i == 0)
            --j;
        else if (j == 0)
            --i;
        else if (step == Diagonal) {
            --i;
            --j;
        } else if (step == Up)
            --i;
        else
            --j;
    }
    std::reverse(path.begin(), path.end());
    return path;
}

std::vector<double> WarpPath::MatchedPositions(const std::vector<std::pair<int, int>> &path, int rows)
{
    std::vector<double> sum(size_t(std::max(rows, 0)), 0.0);
    std::vector<int> count(sum.size(), 0);
    for (const auto &[i, j] : path) {
        if (i < 0 || i >= rows)
            continue;
        sum[size_t(i)] += j;
        ++count[size_t(i)];
    }
    for (size_t i = 0; i < sum.size(); ++i)
        sum[i] = count[i] > 0 ? sum[i] / count[i] : (i > 0 ? sum[i - 1] : 0.0);
    return sum;
}
