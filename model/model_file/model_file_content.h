#pragma once
// What a model file holds, section by section, as plain records: the writer
// fills a file from them and the reader makes them from a file. Names of
// fields are kept as texts; the engine finds them in the current table.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vlm {

// Section "Source": where the data of the model came from.
struct ModelFileSource {
  std::string application;  // "EXCEL", "ACCESS", "ODBC", "TEXTFILE" or "UNKNOWN"
  std::string source;       // the source name
  std::string sourceFull;   // the source's full path
  std::string table;        // sheet and range, or table or query
};

// Section "Model": one association.
struct ModelFileMapping {
  std::string field;  // empty: an association without a field
  int32_t attribute = 0;
  int32_t scale = 0;
  uint8_t options = 0;
};

// Section "Color": the colour ramp, written only while a field is on colour.
struct ModelFileColourEntry {
  std::string value;
  float red = 0.0f, green = 0.0f, blue = 0.0f;
};
struct ModelFileColour {
  int32_t rampType = 2;  // 1 categorical, 2 continuous
  std::vector<ModelFileColourEntry> entries;
};

// Section "Calculator".
struct ModelFileCalculation {
  std::string field;  // empty for Count and Percent
  int32_t function = 0;  // 0 Count, 1 Percent, 2 Min, 3 Max, 4 Sum, 5 Average
};
struct ModelFileCalculator {
  std::vector<ModelFileCalculation> rows;
  int32_t spoken = -1;  // the row whose result is spoken, -1 none
};

// Section "Setup".
// The reader gives the effect and language numbers; the writer stores the
// names the sound subsystem gives them ("Chord", "American English").
struct ModelFileSetup {
  int32_t effect = 0;
  std::optional<int32_t> speechLanguage;  // only with the older speech interface
  std::string effectName = "Chord";
  std::optional<std::string> speechLanguageName;  // written only when set
  std::array<float, 9> matrix{};          // the model's rotation, row by row
};

// The three engine switches of section "Grid"; the rest of it are rows of
// the space settings.
struct ModelFileGridSwitches {
  int32_t labels = 0;  // 2 labels of all objects, 1 labels, 0 none
  int32_t animationMode = 0;
  int32_t water = 0;
};

}  // namespace vlm
