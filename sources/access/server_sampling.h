#pragma once
// Sampling done by the database itself: when the open database reads only
// the rows of a selection (a server), the Load Control's plan is handed to it
// before the record stream opens, so only the sample crosses the network.
// The k-th record that arrives is then the plan's k-th source row.
#include <string>

#include "platform/database/database.h"
#include "sources/sampling.h"

namespace vlm {

// The plan's rows as a row selection: every n-th, a stepped range, or the
// random sample's list.
platform::db::RowSelection rowSelectionOf(const SamplingPlan& plan);

// Hands the plan to the workspace for the next stream of `object`; true when
// the database selects the rows itself (else it sends them all, and the
// loader keeps the plan's rows as they pass).
bool sampleOnServer(const std::string& object, const SamplingPlan& plan);

// Whether the open database reads only the rows that pass a filter.
bool databaseFiltersRows();
// The filter the object's count, fields and records go by from now on
// (null: every row); false when the database cannot take it.
bool filterOnServer(const std::string& object, std::shared_ptr<const platform::db::RowFilter> filter);
// The row of the whole object that the last record of a filtered stream is.
int64_t servedSourceRow();

}  // namespace vlm
