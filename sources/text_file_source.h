#pragma once
// Text files as a data source: tab-separated (.txt, .tsv, .tab) and
// comma-separated (.csv) tables with a header line.
#include <optional>
#include <string>
#include <string_view>

#include "data/table_text_reader.h"
#include "platform/big_text.h"

namespace vlm {

struct EngineState;

// The format of a file by its extension (any case), or nothing.
std::optional<TableTextFormat> textFileFormat(const std::string& path);

// A whole file's text: a big file is read into huge pages where the system
// has them, straight from the file.
using TableFileText = platform::BigText;

// The message for a data file that cannot be read; it names the file.
std::string cannotReadMessage(const std::string& path);

// Reads the whole file. When it cannot be read, reports a message naming it
// and returns false; nothing else changes.
bool readTableFile(const std::string& path, TableFileText& text);

// Loads the file's text as the data, like a paste: the data source name is
// the file name, the full path is kept as the source path. Returns true when
// rows were loaded.
// The text is freed once it is read for good.
bool loadTextFile(EngineState& state, const std::string& path, TableFileText& text, TableTextFormat format);

}  // namespace vlm
