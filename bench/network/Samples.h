#pragma once
#include <cstddef>
#include <vector>

// Timings (or any figures) gathered one by one and summed up for a table.
// Every summary of no samples is 0.
class Samples {
public:
    void add(double value) { values.push_back(value); }
    void clear() { values.clear(); }
    std::size_t count() const { return values.size(); }
    double mean() const;
    double median() const; // of an even count, the mean of the middle two
    double max() const;

private:
    std::vector<double> values;
};
