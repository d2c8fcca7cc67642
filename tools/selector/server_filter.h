#pragma once
// The Selector's rows as a filter a database runs itself, so that a table
// too large to load whole can be read again with only its selected rows.
//
// A Range row on numbers or dates and a Substring row on texts become
// conditions on their column; a row of another kind that narrows the data
// (an Item Slider on one value, Samples with values left out, a Range over
// texts) cannot be said in the database's terms and is named instead.
// Runs under the data lock.
#include <string>
#include <vector>

#include "data/data_table.h"
#include "platform/database/row_filter.h"

namespace vlm::selector {

struct SelectionFilter {
  platform::db::RowFilter filter;     // the conditions, on the fields' names
  std::vector<std::string> leftOut;   // fields whose rows narrow the data otherwise
};

// The rows' conditions after those of `loaded`, the filter the table was
// read with (null: none), so that narrowing twice keeps both.
SelectionFilter selectionFilterLocked(const DataTable& table, const platform::db::RowFilter* loaded);

}  // namespace vlm::selector
