#pragma once
// Which source rows a load keeps: all, every n-th, a random share, or a
// stepped range (the Load Control methods 1..4).
#include <cstdint>
#include <functional>
#include <vector>

namespace vlm {

constexpr int32_t kSamplingEnd = -9;  // no row after this one
constexpr int32_t kSampleListEnd = -1;

enum SamplingMethod : int32_t {
  SAMPLE_ALL = 1,
  SAMPLE_EACH = 2,
  SAMPLE_RANDOM = 3,
  SAMPLE_RANGE = 4,
};

// K = N x percent x 0.01 + 0.5, truncated, and at most N (none for N <= 0).
int32_t sampleCountFor(int32_t sourceRows, int32_t percent);

// K distinct rows drawn uniformly from 0..N-1, ascending, ended by -1. The
// draw takes expected O(K) steps and the sort O(K log K), whatever the share.
// `picked` (may be empty) is called with the number of picks made so far.
std::vector<int32_t> drawSampleList(int32_t sourceRows, int32_t count, uint64_t seed,
                                    const std::function<void(int32_t)>& picked = {});

struct SamplingPlan {
  int32_t method = SAMPLE_ALL;
  int32_t each = 1;
  int32_t from = 0;
  int32_t to = 0;
  int32_t step = 1;
  std::vector<int32_t> sampleList{kSampleListEnd};  // method 3
};

// The source row after `previous` (-1 asks for the first), or kSamplingEnd.
// Steps of 0 or less count as 1, so a plan always advances.
int32_t nextSourceRow(const SamplingPlan& plan, int32_t previous);

}  // namespace vlm
