#pragma once
// The desktop clipboard as plain text, in the engine's line-end form.
//
// The engine reads and writes table texts whose lines end with CR LF. The
// desktop programs here end lines with LF alone, so the desktop clipboard
// turns every LF that has no CR before it into CR LF on reading, and every
// CR LF back into LF on writing. A table to load is the exception: it is
// handed over as the desktop wrote it, since a converted copy of a table of
// many megabytes costs more than the load itself. Tests put an in-memory
// clipboard in its place.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/big_text.h"

class QString;

namespace vlm::platform {

// A table text as the clipboard holds it.
struct ClipboardTable {
  BigText text;
  // The desktop's form: every LF ends a line, with a CR right before it
  // belonging to the line end, and a lone CR stays in its line. Read so, the
  // text gives the lines its conversion to the engine's form would.
  bool desktopLineEnds = false;
};

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
  // The whole text for a load, unconverted where the clipboard can say which
  // form it is in; by default readText's, in the engine's form.
  virtual std::optional<ClipboardTable> readTable();
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

// A text of the desktop's clipboard as its table: UTF-8, in the desktop's
// line-end form; nothing when there is no memory for it.
std::optional<ClipboardTable> desktopClipboardTable(const QString& text);

// Line-end conversions between the desktop's form and the engine's.
std::string toEngineLineEnds(std::string_view desktopText);
std::string toDesktopLineEnds(std::string_view engineText);

}  // namespace vlm::platform
