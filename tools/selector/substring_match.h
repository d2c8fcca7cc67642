#pragma once
// Case-blind "contains" for the Substring rows; neither text is changed.
#include <string>
#include <string_view>

namespace vlm::selector {

// A query prepared once for many texts: its case-folded forms.
class SubstringQuery {
 public:
  explicit SubstringQuery(std::string_view query);
  bool empty() const { return query_.empty(); }
  // Whether `text` contains the query, without regard to case (ASCII letters
  // directly, other letters by Unicode case folding).
  bool foundIn(std::string_view text) const;

 private:
  std::string query_;   // as typed
  std::string folded_;  // ASCII letters lowered
  bool ascii_ = true;
};

}  // namespace vlm::selector
