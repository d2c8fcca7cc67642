#include "sources/excel/excel_session.h"

#include <mutex>

#include "engine/engine_state.h"

namespace vlm {

ExcelSession& excelSession(EngineState& state) {
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  auto& session = state.main->excel;
  if (!session) session = std::make_shared<ExcelSession>();
  return *session;
}

}  // namespace vlm
