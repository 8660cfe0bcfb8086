// Timings of one kind, summarised by their median.
#pragma once

#include <algorithm>
#include <vector>

namespace winbench {

class SampleSet {
public:
    void Add(double ms) { ms_.push_back(ms); }
    size_t Count() const { return ms_.size(); }
    bool Empty() const { return ms_.empty(); }
    // In the order they were taken, to be paired with another set's.
    const std::vector<double>& Values() const { return ms_; }

    double Median() const {
        if (ms_.empty()) return 0;
        std::vector<double> sorted = ms_;
        std::sort(sorted.begin(), sorted.end());
        const size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
    double Min() const { return ms_.empty() ? 0 : *std::min_element(ms_.begin(), ms_.end()); }
    double Max() const { return ms_.empty() ? 0 : *std::max_element(ms_.begin(), ms_.end()); }

private:
    std::vector<double> ms_;
};

}  // namespace winbench
