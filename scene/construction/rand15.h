#pragma once
// The 15-bit pseudo-random generator the jitter is scaled for: values 0..32767
// exactly. The C library's rand() here spans 0..2^31-1, which would make every
// offset some 65 000 times too large.
#include <cstdint>

namespace vlm::scene {

struct Rand15 {
  uint32_t state = 1;
  void seed(uint32_t s) { state = s; }
  // The classic linear congruential step; the high bits are the better ones.
  int next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
  }
};

constexpr int kRand15Max = 32767;

}  // namespace vlm::scene
