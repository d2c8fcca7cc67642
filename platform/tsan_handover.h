#pragma once
// Hand-overs that ThreadSanitizer cannot see by itself: an object made on one
// thread and passed to another through Qt's event queue, whose locking lives
// in the uninstrumented Qt libraries. The sender marks the object handed
// over before posting it; the receiver marks it taken over before touching
// it. Without ThreadSanitizer both do nothing.
#if defined(__SANITIZE_THREAD__)
#define VLM_TSAN_HANDOVER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VLM_TSAN_HANDOVER 1
#endif
#endif

#ifdef VLM_TSAN_HANDOVER
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace vlm::platform {

inline void handOver([[maybe_unused]] const void* object) {
#ifdef VLM_TSAN_HANDOVER
  __tsan_release(const_cast<void*>(object));
#endif
}

inline void takeOver([[maybe_unused]] const void* object) {
#ifdef VLM_TSAN_HANDOVER
  __tsan_acquire(const_cast<void*>(object));
#endif
}

}  // namespace vlm::platform
