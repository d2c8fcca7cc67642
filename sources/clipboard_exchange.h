#pragma once
// The clipboard as a data source, and the table copied back to it.
#include <string_view>

#include "data/table_text_reader.h"
#include "platform/clipboard.h"

namespace vlm {

struct EngineState;

// 1 when the text has at least two line breaks (a CR, with or without a LF
// after it, is one; a lone LF is not). Stops at the second.
int clipboardTextValid(std::string_view text);

// How a clipboard table's lines end: the desktop's text ends them as a
// tab-separated file does, which reads into the lines the engine's form gives.
TableTextFormat clipboardTableFormat(const platform::ClipboardTable& table);

// The paste of the connection request (mode 3): the clipboard's table
// replaces the table. Returns true when rows were loaded.
bool pasteClipboard(EngineState& state);

// vlm_CopyToClipboard: the table (the selected rows when some are selected)
// as text on the clipboard. Returns 1 when the text was placed there.
int copyTableToClipboard(EngineState& state);

}  // namespace vlm
