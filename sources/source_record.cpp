#include "sources/source_record.h"

namespace vlm {

void publishSource(EngineState& state) {
  const DataTable& t = *state.data;
  SourceDescription d;
  d.kind = t.sourceKind;
  d.name = t.sourceName;
  d.path = t.sourcePath;
  d.selection = t.excelSelection;
  d.query = t.serverQuery;
  d.currentObject = t.currentAccessObject;
  if (t.currentAccessObject >= 0 && static_cast<size_t>(t.currentAccessObject) < t.accessObjects.size())
    d.objectName = t.accessObjects[static_cast<size_t>(t.currentAccessObject)].name;
  PublishedSource& p = state.main->source;
  std::lock_guard lock(p.mutex);
  p.description = std::move(d);
}

SourceDescription publishedSource(const EngineState& state) {
  const PublishedSource& p = state.main->source;
  std::lock_guard lock(p.mutex);
  return p.description;
}

void markNoData(DataTable& table) {
  table.sourceName = "No Data";
  table.sourceKind = DSK_NONE;
  table.sourcePath.clear();
  table.serverQuery.clear();
}

}  // namespace vlm
