#include "sources/progress.h"

#include "engine/host_link.h"
#include "engine/host_messages.h"

namespace vlm {

int32_t reduceProgress(int64_t position, int32_t last) {
  if (last <= 0 || position < 0) return 0;
  // The remainder is what the repeated subtraction leaves, except that a
  // position equal to a multiple of the end stays at the end.
  if (position <= last) return static_cast<int32_t>(position);
  const int64_t left = position % last;
  return static_cast<int32_t>(left == 0 ? last : left);
}

void HostProgress::begin(const char* text, int32_t first, int32_t last) {
  last_ = last;
  running_ = true;
  postHost(state_, HM_PROGRESS_BEGIN, static_cast<uintptr_t>(first), static_cast<uintptr_t>(last), text ? text : "");
}

void HostProgress::step(int64_t position) {
  postHost(state_, HM_PROGRESS_STEP, static_cast<uintptr_t>(reduceProgress(position, last_)));
}

void HostProgress::end() {
  if (!running_) return;
  running_ = false;
  postHost(state_, HM_PROGRESS_END);
}

ProgressSink HostProgress::sink() {
  ProgressSink s;
  s.begin = [this](const char* text, int32_t first, int32_t last) { begin(text, first, last); };
  s.step = [this](int32_t position) { step(position); };
  s.end = [this] { end(); };
  return s;
}

}  // namespace vlm
