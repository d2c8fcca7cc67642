#pragma once
// Loading an object of the workspace's open database into a data table the
// way the database loader does: the field names and type codes, then one
// "NextRow" request per record, stored 1000 records at a time.
#include <string>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm::bench {

struct ConversationLoad {
  double seconds = 0;         // the whole load, distinct values left out
  double streamSeconds = 0;   // requesting the records
  double storeSeconds = 0;    // parsing them into the table
  double cpuSeconds = 0;      // processor time of the whole process (every thread) during the load
  int64_t rows = 0;
};

// `source` is the open database's data source name, `object` a table of it;
// `expectedRows` sizes the table's growth.
ConversationLoad loadThroughConversation(DataTable& table, const std::string& source, const std::string& object,
                                         int32_t expectedRows, const platform::RegionalSettings& settings);

}  // namespace vlm::bench
