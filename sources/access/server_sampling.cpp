#include "sources/access/server_sampling.h"

#include <algorithm>

#include "platform/workspace/workspace.h"

namespace vlm {

platform::db::RowSelection rowSelectionOf(const SamplingPlan& plan) {
  platform::db::RowSelection out;
  switch (plan.method) {
    case SAMPLE_EACH:
      out.step = std::max(1, plan.each);
      break;
    case SAMPLE_RANGE: {
      const int32_t step = std::max(1, plan.step);
      out.first = std::max(0, plan.from);
      out.step = step;
      out.count = plan.from < 0 || plan.to < plan.from ? 0 : (int64_t{plan.to} - plan.from) / step + 1;
      break;
    }
    case SAMPLE_RANDOM: {
      auto rows = std::make_shared<std::vector<int64_t>>();
      rows->reserve(plan.sampleList.size());
      for (int32_t r : plan.sampleList) {
        if (r == kSampleListEnd) break;
        rows->push_back(r);
      }
      out.rows = std::move(rows);
      break;
    }
    default:
      break;
  }
  return out;
}

bool sampleOnServer(const std::string& object, const SamplingPlan& plan) {
  auto& w = platform::workspace::Workspace::instance();
  if (!w.selectsRows()) return false;
  w.setNextRowSelection(object, rowSelectionOf(plan));
  return true;
}

bool databaseFiltersRows() { return platform::workspace::Workspace::instance().filtersRows(); }

bool filterOnServer(const std::string& object, std::shared_ptr<const platform::db::RowFilter> filter) {
  auto& w = platform::workspace::Workspace::instance();
  if (filter && !w.filtersRows()) return false;
  w.setObjectFilter(object, std::move(filter));
  return true;
}

int64_t servedSourceRow() { return platform::workspace::Workspace::instance().servedRow(); }

}  // namespace vlm
