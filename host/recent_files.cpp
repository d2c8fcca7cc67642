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

}  // namespace

void addRecentFile(RecentFiles& list, const std::string& name) {
  if (name.empty()) return;
  auto& v = list.names;
  v.erase(std::remove_if(v.begin(), v.end(), [&](const std::string& n) { return sameName(n, name); }), v.end());
  v.insert(v.begin(), name);
  if (v.size() > static_cast<size_t>(kMaxRecentFiles)) v.resize(kMaxRecentFiles);
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
  vlm_WriteHostDword("LastFiles", static_cast<uint32_t>(list.names.size()), 0);
  for (size_t i = 0; i < list.names.size(); ++i) vlm_WriteHostText(valueName(i).c_str(), list.names[i].c_str());
}

}  // namespace vlm::host
