#pragma once

#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quandrel::bench {

// Nearest-rank percentile of a sample (p in 0..100); NaN when empty.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(p / 100.0 * double(values.size()));
    const size_t index = size_t(std::clamp(rank, 1.0, double(values.size()))) - 1;
    return values[index];
}

inline double median(const std::vector<double>& values)
{
    return percentile(values, 50);
}

inline double maximum(const std::vector<double>& values)
{
    return values.empty() ? std::nan("") : *std::max_element(values.begin(), values.end());
}

inline QString ms(double value)
{
    return std::isnan(value) ? QStringLiteral("n/a") : QString::number(value, 'f', 1);
}

} // namespace quandrel::bench
