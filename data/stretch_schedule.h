#pragma once
// Pieces [0, count) of a text shared by two threads in stretches. A thread
// reads the pieces of its stretch in order, carrying what it learns from one
// piece to the next; a thread that has run out cuts the back half off the
// other thread's stretch and reads that as a stretch of its own. The calling
// thread starts on the front half, a helper on the back half. A core that
// runs slower for a while (the host may take it) so reads fewer pieces,
// while a result put together stretch by stretch in text order has only the
// stretches' starts to reconcile, few of them.
#include <cstdint>
#include <vector>

namespace vlm {

struct Stretch {
  int32_t first = 0;  // its pieces: [first, end)
  int32_t end = 0;
};

class StretchReader {
 public:
  virtual ~StretchReader() = default;
  // Stretch `id` (0, 1, 2 ... as they are begun, below count + 2) starts at
  // piece `first` on `thread` (0: the calling thread).
  virtual void begin(int32_t id, int32_t first, int thread) = 0;
  // Reads the next piece of stretch `id`; false stops the stretch after it
  // (a failure): nobody reads its later pieces.
  virtual bool read(int32_t id, int32_t piece, int thread) = 0;
};

// The stretches by id, each with the pieces read in it. Without a second
// core one stretch reads every piece.
std::vector<Stretch> readInStretches(int32_t count, StretchReader& reader);

}  // namespace vlm
