#include "engine/host_link.h"

#include "engine/engine_state.h"
#include "engine/host_messages.h"
#include "platform/host_bridge.h"

namespace vlm {

bool postHost(EngineState&, uint32_t message, uintptr_t wParam, uintptr_t lParam, std::string text,
              int64_t extra) {
  platform::HostMessageData data;
  data.message = message;
  data.wParam = wParam;
  data.lParam = lParam;
  data.text = std::move(text);
  data.extra = extra;
  return platform::HostBridge::instance().post(std::move(data));
}

intptr_t sendHost(EngineState& state, uint32_t message, uintptr_t wParam, uintptr_t lParam) {
  platform::HostMessageData data;
  data.message = message;
  data.wParam = wParam;
  data.lParam = lParam;
  // A click handler asks for a popup menu while it holds the data lock. The
  // host acts for it until the send returns, so the menu's commands may take
  // the lock meanwhile; nobody else may.
  platform::DataLock& lock = state.main->dataLock;
  const bool lent = lock.lendTo(state.main->hostThreadId);
  const intptr_t result = platform::HostBridge::instance().send(std::move(data));
  if (lent) lock.endLoan();
  return result;
}

bool postHits(EngineState& state) {
  const int32_t rows = state.data ? state.data->rowCount.get() : 0;
  const int32_t source = state.data ? state.data->sourceRowCount : 0;
  const int32_t selected = state.model ? state.model->selectedCount.load() : 0;
  return postHost(state, HM_HITS, static_cast<uintptr_t>(rows), static_cast<uintptr_t>(source), {}, selected);
}

bool postBusy(EngineState& state, bool busy) { return postHost(state, HM_BUSY, busy ? 1 : 0); }

bool postRefresh(EngineState& state) { return postHost(state, HM_REFRESH); }

}  // namespace vlm
