#include "tools/selector/substring_match.h"

#include <QString>

#include <algorithm>

namespace vlm::selector {
namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

}  // namespace

SubstringQuery::SubstringQuery(std::string_view query) : query_(query), folded_(query), ascii_(isAscii(query)) {
  std::transform(folded_.begin(), folded_.end(), folded_.begin(), lowerAscii);
}

bool SubstringQuery::foundIn(std::string_view text) const {
  if (folded_.empty()) return true;
  // An ASCII query meets only ASCII bytes: the bytes of other characters never
  // fall in that range in UTF-8.
  if (ascii_) {
    const auto hit = std::search(text.begin(), text.end(), folded_.begin(), folded_.end(),
                                 [](char a, char b) { return lowerAscii(a) == b; });
    return hit != text.end();
  }
  // Letters beyond ASCII fold by their Unicode case.
  const QString haystack = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QString needle = QString::fromUtf8(query_.data(), static_cast<qsizetype>(query_.size()));
  return haystack.contains(needle, Qt::CaseInsensitive);
}

}  // namespace vlm::selector
