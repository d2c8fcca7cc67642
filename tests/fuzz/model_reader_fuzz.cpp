// Arbitrary bytes as a model file: every section is read with its defaults,
// counts stay within what a model can hold, and what is read can be written
// and read again to the same values.
//
// Input layout: byte 0 gives the number of fields of the table (0..255) and
// whether the older speech interface is in use; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/association.h"
#include "model/model_file/grid_section.h"
#include "model/model_file/model_file_sections.h"
#include "model/space_settings_table.h"
#include "platform/profile_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  using namespace vlm;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const platform::ProfileDocument doc = platform::ProfileDocument::parse(text);
  const int32_t fields = data[0] & 0x7F;
  const bool older = (data[0] & 0x80) != 0;

  const ModelFileSource source = readSourceSection(doc);
  (void)source;
  const auto mappings = readModelSection(doc);
  check(mappings.size() <= 1024);
  for (const ModelFileMapping& m : mappings) check(m.attribute >= 0 && m.attribute < kAttributeCount);
  const ModelFileColour colour = readColourSection(doc);
  check(colour.entries.size() <= 33);
  check(colour.rampType == 1 || colour.rampType == 2);
  const auto methods = readSelectorSection(doc, fields);
  check(methods.size() == static_cast<size_t>(fields));
  for (int32_t m : methods) check(m >= 0 && m <= 4);
  const ModelFileCalculator calculator = readCalculatorSection(doc, true);
  for (const ModelFileCalculation& row : calculator.rows) check(row.function >= 0 && row.function <= 5);
  ModelFileSetup setup = readSetupSection(doc, older);
  // The engine writes the effect by its name; reading keeps only the number.
  static const char* const kEffectNames[] = {"Chord", "Click", "Impact", "Pop", "Select", "Tick"};
  check(setup.effect >= 0 && setup.effect <= 5);
  setup.effectName = kEffectNames[setup.effect];
  check(setup.speechLanguage.has_value() == older);
  if (setup.speechLanguage) check(*setup.speechLanguage >= 0 && *setup.speechLanguage <= 10);

  SpaceSettings space;
  fillDefaultSpaceSettings(space);
  const GridReadResult grid = readGridSection(doc, space);
  check(grid.switches.labels >= 0 && grid.switches.labels <= 2);

  // Written and read again, the sections give what they gave.
  platform::ProfileDocument out;
  writeModelSection(out, mappings);
  writeColourSection(out, colour);
  writeCalculatorSection(out, calculator);
  writeSetupSection(out, setup);
  writeGridSection(out, grid.switches, space);
  const platform::ProfileDocument back = platform::ProfileDocument::parse(out.serialise());
  const auto mappingsBack = readModelSection(back);
  check(mappingsBack.size() == mappings.size());
  const ModelFileColour colourBack = readColourSection(back);
  check(colourBack.entries.size() == colour.entries.size() && colourBack.rampType == colour.rampType);
  check(readCalculatorSection(back, true).rows.size() == calculator.rows.size());
  check(readSetupSection(back, older).effect == setup.effect);
  SpaceSettings again;
  fillDefaultSpaceSettings(again);
  readGridSection(back, again);
  // Transparencies come back through their colour's alpha, which a float
  // keeps exactly only for percentages a model uses.
  for (int i = 0; i < kSpaceSettingCount; ++i)
    check(again.rows[static_cast<size_t>(i)].value == space.rows[static_cast<size_t>(i)].value ||
          colourRowOfTransparency(i) >= 0);
  return 0;
}
