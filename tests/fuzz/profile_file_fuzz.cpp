// Arbitrary bytes as a profile (INI) file: reading never fails, a key written
// reads back, and writing what was read and reading it again changes nothing.
//
// Input layout: byte 0 picks a key to set and one to delete; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  using vlm::platform::ProfileDocument;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  ProfileDocument doc = ProfileDocument::parse(text);

  // What is written reads back the same, once.
  const std::string once = doc.serialise();
  check(vlm::platform::isValidUtf8(once));
  const ProfileDocument again = ProfileDocument::parse(once);
  check(again.serialise() == once);

  // A key set is found (blanks around it are not kept); a deleted one is gone;
  // the rest of the file stays as it was.
  static const char* sections[] = {"Model", "Grid", "selector", "Calculator", ""};
  static const char* values[] = {"1", " spaced value ", "", "a=b", "[Grid]\r\nWater=1"};
  const uint8_t pick = data[0];
  const char* section = sections[pick % 5];
  const char* value = values[(pick / 5) % 5];
  doc.set(section, "Key", std::string_view(value));
  if (*section != '\0') {
    const auto found = doc.find(section, "KEY");
    check(found.has_value());
    const ProfileDocument reread = ProfileDocument::parse(doc.serialise());
    check(reread.find(section, "key") == found);
  }
  doc.set("Grid", "Key", std::nullopt);
  check(!ProfileDocument::parse(doc.serialise()).find("Grid", "Key").has_value());
  if (pick & 0x80) {
    doc.removeSection(section);
    check(!doc.hasSection(section));
  }
  return 0;
}
