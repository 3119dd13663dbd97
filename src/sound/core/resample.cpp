// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/resample.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

std::vector<float> Resample(const std::vector<float> &samples, int fromRate, int toRate)
{
    if (fromRate == toRate || samples.empty() || fromRate <= 0 || toRate <= 0)
        return samples;
    // Windowed-sinc interpolation with the kernel tabulated once: the cut-off sits
    // a little under the lower of the two Nyquist rates.
    const double step = double(fromRate) / toRate;
    const double cutoff = 0.45 * std::min(1.0, double(toRate) / fromRate); // cycles per input sample
    const int halfWidth = int(std::ceil(4.0 / cutoff));
    constexpr int Resolution = 64;
    std::vector<float> kernel(size_t(halfWidth * Resolution + 2));
    for (size_t k = 0; k < kernel.size(); ++k) {
        const double x = double(k) / Resolution;
        const double arg = 2.0 * M_PI * cutoff * x;
        const double sinc = x == 0 ? 1.0 : std::sin(arg) / arg;
        const double window = x >= halfWidth ? 0.0 : 0.5 + 0.5 * std::cos(M_PI * x / halfWidth);
        kernel[k] = float(2.0 * cutoff * sinc * window);
    }
    auto tap = [&](double x) {
        const double at = std::abs(x) * Resolution;
        const size_t k = size_t(at);
        if (k + 1 >= kernel.size())
            return 0.0f;
        const float frac = float(at - double(k));
        return kernel[k] + (kernel[k + 1] - kernel[k]) * frac;
    };

    const auto count = size_t(std::floor(double(samples.size()) / step));
    std::vector<float> out(count);
    const auto last = qsizetype(samples.size()) - 1;
    for (size_t n = 0; n < count; ++n) {
        const double centre = double(n) * step;
        const auto first = std::max<qsizetype>(0, qsizetype(std::ceil(centre - halfWidth)));
        const auto end = std::min<qsizetype>(last, qsizetype(std::floor(centre + halfWidth)));
        float sum = 0;
        for (qsizetype i = first; i <= end; ++i)
            sum += samples[size_t(i)] * tap(double(i) - centre);
        out[n] = sum;
    }
    return out;
}
