#pragma once
// The recent-files list: at most seven names, most recent first, kept whole.
#include <string>
#include <vector>

namespace vlm::host {

struct RecentFiles {
  std::vector<std::string> names;
};

// Puts `name` first, drops older entries equal to it (case-insensitively) and
// keeps at most seven.
void addRecentFile(RecentFiles& list, const std::string& name);

// LastFiles and LastFile0.. from the settings store; a stored count above 7
// reads as 7 and missing entries are skipped.
RecentFiles readRecentFiles();
void writeRecentFiles(const RecentFiles& list);

}  // namespace vlm::host
