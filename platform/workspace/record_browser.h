#pragma once
// The database workspace's main window ("OMAIN"): the open database's tables
// and queries beside a view of one object's records, read page by page.
#include <cstdint>
#include <string>

namespace vlm::platform::workspace {

// Makes the record browser the workspace's main window. Its work runs on the
// host thread; without a host the window functions answer false.
void installRecordBrowser();

// What the browser shows (read on the host thread), for tests.
struct RecordBrowserView {
  bool exists = false;
  bool visible = false;
  std::string title;
  std::string object;        // the table or query shown
  int64_t currentRecord = 0;  // from 1; 0 for none
  int64_t records = 0;
  int tables = 0, queries = 0;
};
RecordBrowserView recordBrowserView();

}  // namespace vlm::platform::workspace
