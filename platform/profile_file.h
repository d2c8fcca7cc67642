#pragma once
// Private-profile (INI) files: "[Section]" lines, then "Key=Value" lines.
//
// A ProfileDocument holds a file's lines, so a change touches only the key it
// names: every other section, key, comment and blank line is written back as
// it was read. Section and key names match without regard to ASCII letter
// case; the first section and the first key of a name are the ones read and
// written. Values are read with the blanks around them removed. The file is
// written with CR LF line ends and in UTF-8; a file that is not valid UTF-8
// (an older file in the Windows-1252 code page) is read by converting it.
//
// The free functions at the end follow the one-key-at-a-time interface of the
// system's profile calls. Callers with many keys parse a file once, change the
// document, and write it once.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vlm::platform {

class ProfileDocument {
 public:
  ProfileDocument() = default;
  // Reads the text of a file. Never fails: lines that are neither a section
  // header nor a key are kept as they stand.
  static ProfileDocument parse(std::string_view bytes);
  // The file text, every line ended by CR LF.
  std::string serialise() const;

  // The value of the key, or nullopt when the section or the key is missing.
  std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
  // The value, or `fallback` when missing.
  std::string get(std::string_view section, std::string_view key, std::string_view fallback) const;
  bool hasSection(std::string_view section) const;
  size_t sectionCount() const { return sections_.size(); }

  // Sets the key (added at the end of its section, the section at the end of
  // the file, when missing). A nullopt value deletes the key. Line breaks in a
  // key or value become blanks, so no value can make lines of its own.
  void set(std::string_view section, std::string_view key, std::optional<std::string_view> value);
  // Deletes the section with all its lines (every section of that name).
  void removeSection(std::string_view section);

 private:
  struct Line {
    std::string key;    // empty for a line that is no key
    std::string value;  // the value, or the whole line of a non-key line
    bool isKey = false;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    std::unordered_map<std::string, size_t> index;  // folded key -> first line with it
    void reindex();
  };
  Section* findSection(std::string_view name);
  const Section* findSection(std::string_view name) const;
  void reindex();

  std::vector<std::string> preamble_;  // lines before the first section
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> index_;  // folded name -> first section with it
};

// The key's value copied into `buffer` (at most size - 1 bytes and a zero),
// `fallback` when the file, section or key is missing. Returns the number of
// bytes copied.
size_t getPrivateProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                               size_t size, const std::string& path);
// Writes one key into the file, creating it when missing; a null value
// deletes the key, a null key the whole section. The file is replaced whole
// (atomic_file.h). False when it cannot be written.
bool writePrivateProfileString(const char* section, const char* key, const char* value, const std::string& path);

// Whether the bytes are valid UTF-8, and the Windows-1252 reading of bytes
// that are not.
bool isValidUtf8(std::string_view bytes);
std::string windows1252ToUtf8(std::string_view bytes);

}  // namespace vlm::platform
