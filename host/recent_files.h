#pragma once
// The recent-files list: at most seven names, most recent first, kept whole.
#include <string>
#include <vector>

namespace vlm::host {

struct RecentFiles {
  std::vector<std::string> names;
  std::vector<std::string> opened;  // opened while this program runs, oldest first
};

// Puts `name` first, drops older entries equal to it (case-insensitively) and
// keeps at most seven; remembers it as opened now.
void addRecentFile(RecentFiles& list, const std::string& name);

// The list stored now with the files this program opened put on top, so
// that another running program's recent files are kept too.
RecentFiles mergedRecentFiles(const RecentFiles& stored, const RecentFiles& ours);

// LastFiles and LastFile0.. from the settings store as it holds them now; a
// stored count above 7 reads as 7 and missing entries are skipped.
RecentFiles readRecentFiles();
// Writes the stored list merged with the files opened here; nothing when
// this program opened none.
void writeRecentFiles(const RecentFiles& list);

}  // namespace vlm::host
