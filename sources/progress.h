#pragma once
// Progress of a long operation, shown by the host's status bar.
#include <cstdint>

#include "data/table_text_load.h"

namespace vlm {

struct EngineState;

// A position reduced into the range 0..last by repeated subtraction of last
// when it exceeds it; a range without positive end gives 0.
int32_t reduceProgress(int64_t position, int32_t last);

// HM_PROGRESS_BEGIN with the status text, then HM_PROGRESS_STEP with each
// position reduced into the range, and HM_PROGRESS_END.
class HostProgress {
 public:
  explicit HostProgress(EngineState& state) : state_(state) {}
  void begin(const char* text, int32_t first, int32_t last);
  void step(int64_t position);
  void end();
  // The same messages for the table text passes.
  ProgressSink sink();

 private:
  EngineState& state_;
  int32_t last_ = 0;
  bool running_ = false;
};

}  // namespace vlm
