#include "sources/sampling.h"

#include <algorithm>
#include <random>
#include <unordered_set>

namespace vlm {

int32_t sampleCountFor(int32_t sourceRows, int32_t percent) {
  if (sourceRows <= 0) return 0;
  const double k = static_cast<double>(sourceRows) * percent * 0.01 + 0.5;
  if (k <= 0) return 0;
  if (k >= sourceRows) return sourceRows;
  return static_cast<int32_t>(k);
}

std::vector<int32_t> drawSampleList(int32_t sourceRows, int32_t count, uint64_t seed,
                                    const std::function<void(int32_t)>& picked) {
  const int32_t n = std::max(sourceRows, 0);
  const int32_t k = std::clamp(count, 0, n);
  std::vector<int32_t> list;
  list.reserve(static_cast<size_t>(k) + 1);
  std::mt19937_64 generator(seed);
  // Floyd's selection: every k-subset is equally likely, and each of the k
  // steps adds exactly one new row, so the draw never repeats itself.
  std::unordered_set<int32_t> chosen;
  chosen.reserve(static_cast<size_t>(k));
  const int32_t every = std::max(1, k / 100);
  for (int32_t j = n - k; j < n; ++j) {
    std::uniform_int_distribution<int32_t> pick(0, j);
    const int32_t t = pick(generator);
    const int32_t row = chosen.insert(t).second ? t : j;
    if (row == j) chosen.insert(j);
    list.push_back(row);
    const int32_t made = static_cast<int32_t>(list.size());
    if (picked && made % every == 0) picked(made);
  }
  std::sort(list.begin(), list.end());
  list.push_back(kSampleListEnd);
  return list;
}

int32_t nextSourceRow(const SamplingPlan& plan, int32_t previous) {
  switch (plan.method) {
    case SAMPLE_EACH: {
      const int32_t each = std::max(plan.each, 1);
      if (previous < 0) return 0;
      return previous > INT32_MAX - each ? kSamplingEnd : previous + each;
    }
    case SAMPLE_RANDOM: {
      const auto& list = plan.sampleList;
      // The list is ascending up to its end mark; the row after `previous`
      // is its first entry above it.
      const auto last = (!list.empty() && list.back() == kSampleListEnd) ? list.end() - 1 : list.end();
      const auto at = previous < 0 ? list.begin() : std::upper_bound(list.begin(), last, previous);
      return at == last ? kSamplingEnd : *at;
    }
    case SAMPLE_RANGE: {
      const int32_t step = std::max(plan.step, 1);
      if (previous < 0) return plan.from >= 0 && plan.from <= plan.to ? plan.from : kSamplingEnd;
      if (previous < plan.from) return kSamplingEnd;
      if (previous < plan.to && static_cast<int64_t>(previous) + step <= plan.to) return previous + step;
      return kSamplingEnd;
    }
    default:
      if (previous < 0) return 0;
      return previous == INT32_MAX ? kSamplingEnd : previous + 1;
  }
}

}  // namespace vlm
