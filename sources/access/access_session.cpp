#include "sources/access/access_session.h"

#include <mutex>

#include "engine/engine_state.h"

namespace vlm {

AccessSession& accessSession(EngineState& state) {
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  auto& session = state.main->access;
  if (!session) session = std::make_shared<AccessSession>();
  return *session;
}

void closeRecordStream(RecordStream& stream) {
  stream.conversation.disconnect();
  stream.open = false;
  stream.object = -1;
  std::string().swap(stream.buffer);
  std::vector<size_t>().swap(stream.starts);
  std::vector<int32_t>().swap(stream.rowIds);
  stream.rowsAtLastRebuild = 0;
  stream.received = 0;
  stream.wanted = kSamplingEnd;
}

}  // namespace vlm
