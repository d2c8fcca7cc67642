#include "host/recent_files.h"

#include <QString>

#include <algorithm>
#include <vector>

#include "engine/vlmapi.h"
#include "host/command_ids.h"

namespace vlm::host {
namespace {

// Room for a whole path (4095 bytes and the terminating zero).
constexpr int kPathBuffer = 4096;

bool sameName(const std::string& a, const std::string& b) {
  return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

std::string valueName(size_t i) { return "LastFile" + std::to_string(i); }

void putFirst(std::vector<std::string>& v, const std::string& name) {
  v.erase(std::remove_if(v.begin(), v.end(), [&](const std::string& n) { return sameName(n, name); }), v.end());
  v.insert(v.begin(), name);
  if (v.size() > static_cast<size_t>(kMaxRecentFiles)) v.resize(kMaxRecentFiles);
}

}  // namespace

void addRecentFile(RecentFiles& list, const std::string& name) {
  if (name.empty()) return;
  putFirst(list.names, name);
  list.opened.push_back(name);
}

RecentFiles mergedRecentFiles(const RecentFiles& stored, const RecentFiles& ours) {
  RecentFiles merged;
  merged.names = stored.names;
  for (const std::string& name : ours.opened) putFirst(merged.names, name);
  return merged;
}

RecentFiles readRecentFiles() {
  RecentFiles list;
  const uint32_t count = std::min<uint32_t>(vlm_ReadHostDword("LastFiles", 0), kMaxRecentFiles);
  std::vector<char> buffer(kPathBuffer);
  for (uint32_t i = 0; i < count; ++i) {
    const int n = vlm_ReadHostText(valueName(i).c_str(), buffer.data(), kPathBuffer);
    if (n > 0) list.names.emplace_back(buffer.data());
  }
  return list;
}

void writeRecentFiles(const RecentFiles& list) {
  if (list.opened.empty()) return;  // the stored list may be newer than ours
  const RecentFiles merged = mergedRecentFiles(readRecentFiles(), list);
  vlm_WriteHostDword("LastFiles", static_cast<uint32_t>(merged.names.size()), 0);
  for (size_t i = 0; i < merged.names.size(); ++i) vlm_WriteHostText(valueName(i).c_str(), merged.names[i].c_str());
}

}  // namespace vlm::host
