#include "model/model_file/model_file_sections.h"

#include <algorithm>
#include <string>

#include "model/attributes.h"
#include "model/mapping_options.h"
#include "model/model_file/model_file_values.h"

namespace vlm {
namespace {

using platform::ProfileDocument;

constexpr const char* kMethodNames[] = {"", "RANGE", "ITEM", "SAMPLES", "SUBSTRING"};
constexpr const char* kFunctionNames[] = {"COUNT", "PERCENT", "MIN", "MAX", "SUM", "AVERAGE"};
constexpr const char* kMatrixKeys[9] = {"Matrix00", "Matrix01", "Matrix02", "Matrix10", "Matrix11",
                                        "Matrix12", "Matrix20", "Matrix21", "Matrix22"};

std::string numbered(const char* prefix, size_t i, const char* suffix = "") {
  return prefix + std::to_string(i) + suffix;
}

std::string intText(int64_t value) { return std::to_string(value); }

// A count read from a file: at most what a file can sensibly hold, so that
// a damaged count never asks for billions of keys.
int32_t readCount(const ProfileDocument& doc, const char* section, const char* key, int32_t limit) {
  return std::clamp(readModelInteger(doc.get(section, key, "0")), 0, limit);
}

template <size_t N>
const char* nameAt(const char* const (&names)[N], int32_t i, const char* fallback) {
  return i >= 0 && static_cast<size_t>(i) < N ? names[i] : fallback;
}

}  // namespace

const char* selectorMethodName(int32_t method) { return nameAt(kMethodNames, method, ""); }
const char* calculatorFunctionName(int32_t function) { return nameAt(kFunctionNames, function, "COUNT"); }

void writeSourceSection(ProfileDocument& doc, const ModelFileSource& source) {
  doc.set("Source", "Application", source.application);
  doc.set("Source", "Source", source.source);
  doc.set("Source", "SourceFull", source.sourceFull);
  doc.set("Source", "Table", source.table);
}

ModelFileSource readSourceSection(const ProfileDocument& doc) {
  ModelFileSource s;
  s.source = doc.get("Source", "Source", "0");
  s.sourceFull = doc.get("Source", "SourceFull", "0");
  s.table = doc.get("Source", "Table", "0");
  s.application = upperAscii(doc.get("Source", "Application", "0"));
  return s;
}

void writeModelSection(ProfileDocument& doc, const std::vector<ModelFileMapping>& mappings) {
  doc.removeSection("Model");
  doc.set("Model", "Mappings", intText(static_cast<int64_t>(mappings.size())));
  for (size_t i = 0; i < mappings.size(); ++i) {
    const ModelFileMapping& m = mappings[i];
    if (m.field.empty())
      doc.set("Model", numbered("Field", i), std::nullopt);
    else
      doc.set("Model", numbered("Field", i), m.field);
    doc.set("Model", numbered("Attribute", i), attributeIdText(m.attribute));
    doc.set("Model", numbered("Scale", i), intText(m.scale));
    doc.set("Model", numbered("Options", i), optionsToText(m.options));
  }
}

std::vector<ModelFileMapping> readModelSection(const ProfileDocument& doc) {
  // More associations than attributes cannot be made; the rest of a damaged
  // count is read no further.
  constexpr int32_t kMostMappings = 1024;
  const int32_t n = readCount(doc, "Model", "Mappings", kMostMappings);
  std::vector<ModelFileMapping> out(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    ModelFileMapping& m = out[static_cast<size_t>(i)];
    std::string attribute = doc.get("Model", numbered("Attribute", static_cast<size_t>(i)), "");
    m.attribute = textToAttribute(attribute.data());
    m.scale = readModelInteger(doc.get("Model", numbered("Scale", static_cast<size_t>(i)), ""));
    m.field = doc.get("Model", numbered("Field", static_cast<size_t>(i)), "");
    std::string options = doc.get("Model", numbered("Options", static_cast<size_t>(i)), "");
    m.options = textToOptions(options.data());
  }
  return out;
}

void writeColourSection(ProfileDocument& doc, const ModelFileColour& colour) {
  doc.set("Color", "RampType", colour.rampType == 2 ? "CONTINUOUS" : "CATEGORICAL");
  doc.set("Color", "Entries", intText(static_cast<int64_t>(colour.entries.size())));
  for (size_t i = 0; i < colour.entries.size(); ++i) {
    const ModelFileColourEntry& e = colour.entries[i];
    doc.set("Color", numbered("Entry", i, "V"), e.value);
    doc.set("Color", numbered("Entry", i, "R"), modelRealText(e.red));
    doc.set("Color", numbered("Entry", i, "G"), modelRealText(e.green));
    doc.set("Color", numbered("Entry", i, "B"), modelRealText(e.blue));
  }
}

ModelFileColour readColourSection(const ProfileDocument& doc) {
  ModelFileColour c;
  const std::string ramp = doc.get("Color", "RampType", "0");
  c.rampType = findKeyword(ramp, {"CATE"}) == 0 ? 1 : 2;
  // A ramp holds at most 33 entries; more are not read.
  const int32_t m = readCount(doc, "Color", "Entries", 33);
  c.entries.resize(static_cast<size_t>(m));
  for (int32_t i = 0; i < m; ++i) {
    ModelFileColourEntry& e = c.entries[static_cast<size_t>(i)];
    const auto at = static_cast<size_t>(i);
    e.red = readModelReal(doc.get("Color", numbered("Entry", at, "R"), "0"));
    e.green = readModelReal(doc.get("Color", numbered("Entry", at, "G"), "0"));
    e.blue = readModelReal(doc.get("Color", numbered("Entry", at, "B"), "0"));
    e.value = doc.get("Color", numbered("Entry", at, "V"), "0");
  }
  return c;
}

void writeSelectorSection(ProfileDocument& doc, const std::vector<int32_t>& methods) {
  doc.removeSection("Selector");
  for (size_t i = 0; i < methods.size(); ++i) doc.set("Selector", numbered("Method", i), selectorMethodName(methods[i]));
}

std::vector<int32_t> readSelectorSection(const ProfileDocument& doc, int32_t fieldCount) {
  std::vector<int32_t> methods(static_cast<size_t>(std::max(fieldCount, 0)), 0);
  for (size_t i = 0; i < methods.size(); ++i) {
    const int32_t k = findKeyword(doc.get("Selector", numbered("Method", i), ""), {"RANGE", "ITEM", "SAMPLE", "STRING"});
    methods[i] = k + 1;  // -1 (none) gives 0
  }
  return methods;
}

void writeCalculatorSection(ProfileDocument& doc, const ModelFileCalculator& calculator) {
  doc.removeSection("Calculator");
  doc.set("Calculator", "Calculations", intText(static_cast<int64_t>(calculator.rows.size())));
  for (size_t i = 0; i < calculator.rows.size(); ++i) {
    const ModelFileCalculation& row = calculator.rows[i];
    if (row.field.empty())
      doc.set("Calculator", numbered("Field", i), std::nullopt);
    else
      doc.set("Calculator", numbered("Field", i), row.field);
    doc.set("Calculator", numbered("Function", i), calculatorFunctionName(row.function));
    if (calculator.spoken == static_cast<int32_t>(i)) doc.set("Calculator", "Speak", intText(calculator.spoken));
  }
}

ModelFileCalculator readCalculatorSection(const ProfileDocument& doc, bool readSpoken) {
  ModelFileCalculator c;
  // The Calculator keeps 36 rows; a damaged count reads no further than a
  // file of whole rows could go.
  constexpr int32_t kMostRows = 1024;
  const int32_t n = readCount(doc, "Calculator", "Calculations", kMostRows);
  c.rows.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    ModelFileCalculation& row = c.rows[static_cast<size_t>(i)];
    row.field = doc.get("Calculator", numbered("Field", static_cast<size_t>(i)), "");
    const int32_t k = findKeyword(doc.get("Calculator", numbered("Function", static_cast<size_t>(i)), ""),
                                  {"PERCENT", "MIN", "MAX", "SUM", "AV"});
    row.function = k + 1;  // none found: Count
  }
  if (readSpoken) c.spoken = readModelInteger(doc.get("Calculator", "Speak", "-1"));
  return c;
}

void writeSetupSection(ProfileDocument& doc, const ModelFileSetup& setup) {
  if (setup.speechLanguageName) doc.set("Setup", "SpeechLanguage", *setup.speechLanguageName);
  doc.set("Setup", "Effect", setup.effectName);
  for (size_t i = 0; i < 9; ++i) doc.set("Setup", kMatrixKeys[i], modelRealText(setup.matrix[i]));
}

ModelFileSetup readSetupSection(const ProfileDocument& doc, bool readSpeechLanguage) {
  ModelFileSetup s;
  s.effect = std::max(findKeyword(doc.get("Setup", "Effect", "0"), {"CHORD", "CLIC", "IMPAC", "POP", "SEL", "TIC"}), 0);
  if (readSpeechLanguage) {
    s.speechLanguage = std::max(findKeyword(doc.get("Setup", "SpeechLanguage", "0"),
                                            {"AME", "BRIT", "DUT", "FR", "GER", "ITA", "JAP", "KOR", "POR", "RUS", "SPA"}),
                                0);
  }
  for (size_t i = 0; i < 9; ++i) s.matrix[i] = readModelReal(doc.get("Setup", kMatrixKeys[i], "0"));
  return s;
}

}  // namespace vlm
