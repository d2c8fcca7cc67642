#pragma once
// The sections of a model file other than "Grid": each written into a
// profile document in its order of keys, and read from one with the
// defaults of missing keys.
#include <cstdint>
#include <vector>

#include "model/model_file/model_file_content.h"
#include "platform/profile_file.h"

namespace vlm {

// "Source" is updated key by key, never cleared.
void writeSourceSection(platform::ProfileDocument& doc, const ModelFileSource& source);
ModelFileSource readSourceSection(const platform::ProfileDocument& doc);

// "Model" is deleted and written anew; a mapping without a field has no
// "Field%i" key. The scale is written as the integer it holds.
void writeModelSection(platform::ProfileDocument& doc, const std::vector<ModelFileMapping>& mappings);
// Attribute texts match the identifier texts in any letter case (no match
// gives 0), options by their search words, the scale by integer reading.
std::vector<ModelFileMapping> readModelSection(const platform::ProfileDocument& doc);

// "Color" is written key by key over what the file holds (not cleared).
void writeColourSection(platform::ProfileDocument& doc, const ModelFileColour& colour);
ModelFileColour readColourSection(const platform::ProfileDocument& doc);

// "Selector": one method per field position, 0 none .. 4 Substring.
void writeSelectorSection(platform::ProfileDocument& doc, const std::vector<int32_t>& methods);
std::vector<int32_t> readSelectorSection(const platform::ProfileDocument& doc, int32_t fieldCount);

// "Calculator": the rows and the spoken one (its "Speak" key follows that
// row's function). `readSpoken` false leaves `spoken` at -1.
void writeCalculatorSection(platform::ProfileDocument& doc, const ModelFileCalculator& calculator);
ModelFileCalculator readCalculatorSection(const platform::ProfileDocument& doc, bool readSpoken);

// "Setup": the speech language is written and read only when present /
// asked for (the older speech interface).
void writeSetupSection(platform::ProfileDocument& doc, const ModelFileSetup& setup);
ModelFileSetup readSetupSection(const platform::ProfileDocument& doc, bool readSpeechLanguage);

// Texts of the keyword tables.
const char* selectorMethodName(int32_t method);  // "", "RANGE", "ITEM", "SAMPLES", "SUBSTRING"
const char* calculatorFunctionName(int32_t function);  // "COUNT" .. "AVERAGE"

}  // namespace vlm
