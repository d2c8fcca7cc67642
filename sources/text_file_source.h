#pragma once
// Text files as a data source: tab-separated (.txt, .tsv, .tab) and
// comma-separated (.csv) tables with a header line.
#include <optional>
#include <string>

#include "data/table_text_reader.h"

namespace vlm {

struct EngineState;

// The format of a file by its extension (any case), or nothing.
std::optional<TableTextFormat> textFileFormat(const std::string& path);

// The message for a data file that cannot be read; it names the file.
std::string cannotReadMessage(const std::string& path);

// Loads the file as the data, like a paste: the data source name is the file
// name, the full path is kept as the source path. Returns true when rows were
// loaded.
bool loadTextFile(EngineState& state, const std::string& path, TableTextFormat format);

}  // namespace vlm
