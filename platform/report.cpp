#include "platform/report.h"

#include <cstdio>
#include <mutex>

namespace vlm::platform {
namespace {
std::mutex g_sinkMutex;
ErrorSink g_sink;
}  // namespace

ErrorSink setErrorSink(ErrorSink sink) {
  std::lock_guard lock(g_sinkMutex);
  ErrorSink old = std::move(g_sink);
  g_sink = std::move(sink);
  return old;
}

void reportError(const char* text) {
  ErrorSink sink;
  {
    std::lock_guard lock(g_sinkMutex);
    sink = g_sink;
  }
  if (sink)
    sink(text ? text : "");
  else
    std::fprintf(stderr, "Velmora: %s\n", text ? text : "");
}

}  // namespace vlm::platform
