#pragma once
// Loading a table text (the clipboard's, or a text file's) as the data.
#include <functional>
#include <string>
#include <string_view>

#include "data/table_text_reader.h"

namespace vlm {

struct EngineState;

// The texts a failed load reports, per kind of source.
struct TextSourceMessages {
  const char* badData;    // no fields, no samples, an over-long header
  const char* badFormat;  // an over-long data line, an unclosed quote
};

struct TextSourceName {
  std::string name;  // the data source name
  std::string path;  // the full path of the source, empty for the clipboard
};

enum class TextSourceResult { Loaded, Failed, Cancelled };

// Replaces the table by the table of `text`, holding the data lock from the
// clearing of the table until the rows and their distinct values are in
// place. On failure the table is left empty with the source "No Data" and
// kind DSK_NONE, and the failure's message is reported (none for a cancel or
// a growth that reported its own); the connection result becomes 1, -1 or -11.
// `textRead` (may be empty) is called once the text is read for good, before
// the distinct values are built: the caller may free the text there, which
// keeps a big load's peak memory down.
TextSourceResult loadTextSource(EngineState& state, std::string_view text, TableTextFormat format,
                                const TextSourceMessages& messages, const TextSourceName& source,
                                const std::function<void()>& textRead = {});

// A load that could not even read its text: the table stays cleared, without
// a source; the connection result becomes -1.
void failTextSource(EngineState& state);

}  // namespace vlm
