#include "platform/speech_markup.h"

#include <cctype>
#include <charconv>

namespace vlm::platform {
namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A tag is a name of letters, optionally followed by "=" and a value.
bool splitTag(std::string_view body, std::string_view& name, std::string_view& value) {
  const size_t eq = body.find('=');
  name = body.substr(0, eq);
  value = eq == std::string_view::npos ? std::string_view() : body.substr(eq + 1);
  if (name.empty()) return false;
  for (char c : name)
    if (!std::isalpha(static_cast<unsigned char>(c))) return false;
  return true;
}

void appendEscaped(std::string& out, char c) {
  switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '"': out += "&quot;"; break;
    case '\'': out += "&apos;"; break;
    default: out.push_back(c); break;
  }
}

}  // namespace

std::string escapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) appendEscaped(out, c);
  return out;
}

std::string taggedTextToSsml(std::string_view text) {
  std::string out = "<speak>";
  bool emphasisPending = false, inEmphasis = false;
  auto closeEmphasis = [&] {
    if (inEmphasis) out += "</emphasis>";
    inEmphasis = false;
  };
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\\') {
      const size_t end = text.find('\\', i + 1);
      std::string_view name, value;
      if (end != std::string_view::npos && splitTag(text.substr(i + 1, end - i - 1), name, value)) {
        closeEmphasis();  // a tag ends the word it stands in
        if (sameName(name, "emp")) {
          emphasisPending = true;
        } else if (sameName(name, "Pau")) {
          int ms = 0;
          const auto r = std::from_chars(value.data(), value.data() + value.size(), ms);
          if (r.ec == std::errc() && ms > 0) out += "<break time=\"" + std::to_string(ms) + "ms\"/>";
        }
        // The reading context: espeak-ng already reads addresses ("at", "dot")
        // and numbers as the e-mail context asks, so \Ctx\ needs no element.
        i = end + 1;
        continue;
      }
    }
    if (isSpace(c)) {
      closeEmphasis();
    } else if (emphasisPending) {
      out += "<emphasis>";
      inEmphasis = true;
      emphasisPending = false;
    }
    appendEscaped(out, c);
    ++i;
  }
  closeEmphasis();
  out += "</speak>";
  return out;
}

}  // namespace vlm::platform
