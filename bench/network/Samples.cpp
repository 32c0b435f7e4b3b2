#include "Samples.h"
#include <algorithm>
#include <numeric>

double Samples::mean() const {
    if (values.empty())
        return 0.0;
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double Samples::median() const {
    if (values.empty())
        return 0.0;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    if (sorted.size() % 2 == 1)
        return sorted[middle];
    return (sorted[middle - 1] + sorted[middle]) / 2.0;
}

double Samples::max() const {
    if (values.empty())
        return 0.0;
    return *std::max_element(values.begin(), values.end());
}
