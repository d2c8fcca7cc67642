#include "platform/profile_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/atomic_file.h"

namespace vlm::platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string fold(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string oneLine(std::string_view s) {
  std::string out(s);
  std::replace(out.begin(), out.end(), '\r', ' ');
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

// 0x80..0x9F of Windows-1252 (0 where the code page has no character).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t extra = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((c & 0xE0) == 0xC0) {
      extra = 1;
      value = c & 0x1F;
      least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      value = c & 0x0F;
      least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      value = c & 0x07;
      least = 0x10000;
    } else {
      return false;
    }
    if (n - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(bytes[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      value = (value << 6) | (d & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else if (c < 0xA0) {
      const char16_t mapped = kHighControls[c - 0x80];
      appendUtf8(out, mapped ? mapped : c);  // undefined codes keep their C1 control
    } else {
      appendUtf8(out, c);
    }
  }
  return out;
}

void ProfileDocument::Section::reindex() {
  index.clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].isKey) index.emplace(fold(lines[i].key), i);
  }
}

void ProfileDocument::reindex() {
  index_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) index_.emplace(fold(sections_[i].name), i);
}

ProfileDocument ProfileDocument::parse(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::string converted;
  if (!isValidUtf8(bytes)) {
    converted = windows1252ToUtf8(bytes);
    bytes = converted;
  }
  ProfileDocument doc;
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
    const std::string_view raw = bytes.substr(pos, end - pos);
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
      pos = end + 2;
    else
      pos = end + 1;

    const std::string_view line = trim(raw);
    if (!line.empty() && line.front() == '[') {
      std::string_view name = line.substr(1);
      const size_t close = name.find(']');
      if (close != std::string_view::npos) name = name.substr(0, close);
      doc.sections_.push_back(Section{std::string(trim(name)), {}, {}});
      current = &doc.sections_.back();
      continue;
    }
    Line entry;
    const size_t eq = line.find('=');
    if (current && !line.empty() && line.front() != ';' && eq != std::string_view::npos &&
        !trim(line.substr(0, eq)).empty()) {
      entry.isKey = true;
      entry.key = std::string(trim(line.substr(0, eq)));
      entry.value = std::string(trim(line.substr(eq + 1)));
    } else {
      entry.value = std::string(raw);
    }
    if (current)
      current->lines.push_back(std::move(entry));
    else
      doc.preamble_.push_back(std::move(entry.value));
  }
  for (Section& s : doc.sections_) s.reindex();
  doc.reindex();
  return doc;
}

std::string ProfileDocument::serialise() const {
  std::string out;
  size_t size = 0;
  for (const std::string& l : preamble_) size += l.size() + 2;
  for (const Section& s : sections_) {
    size += s.name.size() + 4;
    for (const Line& l : s.lines) size += l.key.size() + l.value.size() + 3;
  }
  out.reserve(size);
  for (const std::string& l : preamble_) {
    out += l;
    out += "\r\n";
  }
  for (const Section& s : sections_) {
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const Line& l : s.lines) {
      if (l.isKey) {
        out += l.key;
        out += '=';
      }
      out += l.value;
      out += "\r\n";
    }
  }
  return out;
}

ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) {
  const auto it = index_.find(fold(trim(name)));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) const {
  const auto it = index_.find(fold(trim(name)));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

bool ProfileDocument::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::optional<std::string_view> ProfileDocument::find(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  const auto it = s->index.find(fold(trim(key)));
  if (it == s->index.end()) return std::nullopt;
  return std::string_view(s->lines[it->second].value);
}

std::string ProfileDocument::get(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
  const auto v = find(section, key);
  return std::string(v ? *v : fallback);
}

void ProfileDocument::set(std::string_view sectionName, std::string_view keyName,
                          std::optional<std::string_view> value) {
  const std::string key = oneLine(trim(keyName));
  if (key.empty()) return;
  Section* s = findSection(sectionName);
  if (!s) {
    if (!value) return;
    sections_.push_back(Section{oneLine(trim(sectionName)), {}, {}});
    index_.emplace(fold(sections_.back().name), sections_.size() - 1);
    s = &sections_.back();
  }
  const std::string folded = fold(key);
  const auto it = s->index.find(folded);
  if (!value) {
    if (it == s->index.end()) return;
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->reindex();
    return;
  }
  std::string text = oneLine(trim(*value));
  if (it != s->index.end()) {
    s->lines[it->second].value = std::move(text);
    return;
  }
  // A new key goes after the section's last line that is not blank, so the
  // blank lines that part sections stay where they are.
  size_t at = s->lines.size();
  while (at > 0 && !s->lines[at - 1].isKey && trim(s->lines[at - 1].value).empty()) --at;
  Line line{key, std::move(text), true};
  if (at == s->lines.size()) {
    s->lines.push_back(std::move(line));
    s->index.emplace(folded, at);
  } else {
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    s->reindex();
  }
}

void ProfileDocument::removeSection(std::string_view section) {
  const std::string folded = fold(trim(section));
  if (index_.find(folded) == index_.end()) return;
  // Every section of the name goes: a later one would otherwise come forward
  // with the keys the writer meant to drop.
  std::erase_if(sections_, [&folded](const Section& s) { return fold(s.name) == folded; });
  reindex();
}

size_t getPrivateProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                               size_t size, const std::string& path) {
  if (!buffer || size == 0) return 0;
  std::string value = fallback ? fallback : "";
  std::string bytes, error;
  if (section && key && readWholeFile(path, bytes, error)) {
    const ProfileDocument doc = ProfileDocument::parse(bytes);
    if (const auto found = doc.find(section, key)) value = std::string(*found);
  }
  const size_t n = std::min(value.size(), size - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return n;
}

bool writePrivateProfileString(const char* section, const char* key, const char* value, const std::string& path) {
  if (!section) return false;
  std::string bytes, error;
  ProfileDocument doc;
  if (readWholeFile(path, bytes, error))
    doc = ProfileDocument::parse(bytes);
  else if (std::filesystem::exists(path))
    return false;  // a file that cannot be read is never replaced by one key
  if (!key)
    doc.removeSection(section);
  else if (!value)
    doc.set(section, key, std::nullopt);
  else
    doc.set(section, key, std::string_view(value));
  return writeFileAtomically(path, doc.serialise(), error);
}

}  // namespace vlm::platform
