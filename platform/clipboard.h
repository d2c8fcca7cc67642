#pragma once
// The desktop clipboard as plain text, in the engine's line-end form.
//
// The engine reads and writes table texts whose lines end with CR LF. The
// desktop programs here end lines with LF alone, so the desktop clipboard
// turns every LF that has no CR before it into CR LF on reading, and every
// CR LF back into LF on writing. Tests put an in-memory clipboard in its place.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vlm::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The text on the clipboard in the engine's form; nothing when the
  // clipboard holds no text or cannot be read.
  virtual std::optional<std::string> readText() = 0;
  // The beginning of that text: up to and including its `lineBreaks`-th line
  // break (CR, LF or CR LF), or all of it when it has fewer. Enough to tell a
  // table from other text without converting all of a big clipboard.
  virtual std::optional<std::string> readBeginning(int lineBreaks);
  // Puts text in the engine's form on the clipboard; false on failure.
  virtual bool writeText(std::string_view text) = 0;
};

// Holds the text as given, already in the engine's form.
class MemoryClipboard : public Clipboard {
 public:
  MemoryClipboard();
  std::optional<std::string> readText() override;
  bool writeText(std::string_view text) override;
  void setText(std::optional<std::string> text);
  std::optional<std::string> text() const;
  // Makes every access fail, as a clipboard that cannot be opened.
  void setBroken(bool broken);

 private:
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

// The clipboard in use: the desktop's unless one was installed.
std::shared_ptr<Clipboard> clipboard();
// Installs a clipboard (null restores the desktop's); returns the previous one.
std::shared_ptr<Clipboard> setClipboard(std::shared_ptr<Clipboard> replacement);

// The length of `text` up to and including its `lineBreaks`-th line break (CR,
// LF or CR LF), or its whole length.
size_t beginningLength(std::string_view text, int lineBreaks);

// Line-end conversions between the desktop's form and the engine's.
std::string toEngineLineEnds(std::string_view desktopText);
std::string toDesktopLineEnds(std::string_view engineText);

}  // namespace vlm::platform
