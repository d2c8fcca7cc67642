#pragma once
// The current model put into a model file's document, section by section in
// the file's order: Source, Model, Color (only while a field is on colour),
// Selector, Calculator, Setup, Grid. Runs under the data lock, so a load
// never changes the model while it is read; the file itself is written
// after the lock is let go.
#include <string>

#include "platform/profile_file.h"

namespace vlm {

struct EngineState;

void writeModelLocked(EngineState& state, platform::ProfileDocument& doc);

// The "Application" keyword of the table's source: "EXCEL", "ACCESS",
// "ODBC", "TEXTFILE" for a table read from a text file, "UNKNOWN" for the
// clipboard and every other source.
std::string applicationKeyword(int32_t sourceKind, const std::string& sourcePath);

}  // namespace vlm
