#include "sources/excel/workbook_reopen.h"

#include <QString>

#include <filesystem>

#include "engine/engine_state.h"
#include "sources/connection_request.h"
#include "sources/excel/excel_automation.h"
#include "sources/load_model.h"

namespace vlm {
namespace {

bool sameName(const std::string& a, const std::string& b) {
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

ReopenResult loadSelection(EngineState& state) {
  runConnectionRequest(state, 1);
  return state.main->loadControl.connectionResult == 1 ? ReopenResult::Loading : ReopenResult::NotLoaded;
}

}  // namespace

ReopenResult reopenWorkbookSource(EngineState& state, const WorkbookReopenRequest& request) {
  setPendingModel(state, request.modelPath);
  bool same = false;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    const DataTable& t = *state.data;
    same = t.sourceKind == DSK_EXCEL && sameName(t.sourceName, request.source) &&
           sameName(t.excelSelection, request.sheet);
  }
  if (same) return loadSelection(state);
  std::vector<std::string> candidates;
  if (!request.source.empty())
    candidates.push_back((std::filesystem::path(request.modelFolder) / request.source).string());
  candidates.push_back(request.sourceFull);
  for (const std::string& path : candidates) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) continue;
    if (openExcelWorkbook(state, path, request.sheet)) return loadSelection(state);
  }
  return ReopenResult::NoDatabase;
}

}  // namespace vlm
