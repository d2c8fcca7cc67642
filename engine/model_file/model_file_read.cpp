#include "engine/model_file/model_file_read.h"

#include <cfloat>
#include <fstream>
#include <vector>

#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/model_file/rotation_matrix.h"
#include "engine/model_file/selector_section.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/color_ramps.h"
#include "model/model_file/grid_section.h"
#include "model/model_file/model_file_sections.h"
#include "model/space_settings_table.h"
#include "sound/sound_effects.h"
#include "tools/calculator/calculator_rows.h"

namespace vlm {
namespace {

// The field of a name in the current table: exactly, then in any letter
// case; -1 for none or an empty name.
int32_t fieldOfName(const DataTable& table, const std::string& name) {
  if (name.empty()) return -1;
  std::vector<char> text(name.begin(), name.end());
  text.push_back('\0');
  return textToSerie(table, text.data());
}

void readMappings(EngineState& state, const platform::ProfileDocument& doc) {
  const std::vector<ModelFileMapping> mappings = readModelSection(doc);
  ModelContext ctx = modelContext(state);
  // All are read first, then made in file order.
  std::vector<int32_t> fields;
  fields.reserve(mappings.size());
  for (const ModelFileMapping& m : mappings) fields.push_back(fieldOfName(*state.data, m.field));
  for (size_t i = 0; i < mappings.size(); ++i)
    associateFieldLocked(ctx, fields[i], 0, mappings[i].attribute, mappings[i].scale, mappings[i].options);
}

void readColour(EngineState& state, const platform::ProfileDocument& doc) {
  ModelContext ctx = modelContext(state);
  const int32_t field = attributeToField(state.model->associations, ATTRIB_COLOR);
  if (field < 0) {
    applyNamedRamp(ctx, 0, -1, 0, -1);  // the default colour model
    return;
  }
  const ModelFileColour c = readColourSection(doc);
  ColorModel& saved = state.view->savedColorModel;
  saved.rampType = c.rampType;
  saved.valueMin = FLT_MAX;
  saved.valueMax = -FLT_MAX;
  saved.entries.clear();
  for (const ModelFileColourEntry& e : c.entries) {
    ColorEntry entry;
    entry.valueText = e.value;
    entry.red = e.red;
    entry.green = e.green;
    entry.blue = e.blue;
    saved.entries.push_back(std::move(entry));
  }
}

void readCalculator(EngineState& state, const platform::ProfileDocument& doc) {
  const bool speaking = state.main->settings.speechCalculator != 0;
  const ModelFileCalculator c = readCalculatorSection(doc, speaking);
  CalculatorRecord& rec = state.main->calculator;
  const DataTable& table = *state.data;
  calculator::removeAllRows(rec);
  for (const ModelFileCalculation& row : c.rows) {
    const int32_t field = fieldOfName(table, row.field);
    // Statistics of values need a numeric field; Count and Percent need none.
    if (row.function >= CALC_MIN && !calculator::isNumericField(table, field)) continue;
    calculator::addRow(rec, table, field, row.function);
  }
  if (speaking && c.spoken >= 0 && c.spoken < rec.count) rec.rows[static_cast<size_t>(c.spoken)].flags |= kCalcSpoken;
}

void readSetup(EngineState& state, const platform::ProfileDocument& doc) {
  const bool olderSpeech = !state.main->settings.newerSpeechApi;
  const ModelFileSetup s = readSetupSection(doc, olderSpeech);
  setCurrentEffect(state, s.effect);
  if (s.speechLanguage) postData(state, CMD_SPEECH_LANGUAGE, static_cast<uintptr_t>(*s.speechLanguage));
  float angles[3];
  if (rotationAngles(s.matrix, angles)) {
    std::lock_guard lock(state.view->view.mutex);
    for (int i = 0; i < 3; ++i) state.view->view.rotation[i] = angles[i];
  }
}

ModelReadEffects readGrid(EngineState& state, const platform::ProfileDocument& doc) {
  SpaceSettings& space = state.view->space;
  const GridReadResult r = readGridSection(doc, space);
  ViewState& v = state.view->view;
  v.legendOn = r.switches.labels != 0;
  state.model->scene.legend.showAllAttributes = r.switches.labels == 2;
  state.main->input.animationAllowed = r.switches.animationMode;
  v.waterLevelState = r.switches.water != 0 ? 1 : 0;
  space.rows[kRowLabelFont].fontListsValid = false;  // the label font is made again
  for (auto& flag : v.cacheValid) flag = false;
  ModelReadEffects effects;
  effects.gridColourRows = r.gridColourRows;
  for (size_t plane = 0; plane < 3; ++plane) {
    effects.texturePaths[plane] = r.texturePaths[plane];
    // The Bitmap File row shows the file name part once the picture is in.
    space.rows[static_cast<size_t>(latticeRow(static_cast<int32_t>(plane), kLatBitmapFile))].text = "No File";
  }
  return effects;
}

}  // namespace

bool holdsModel(const platform::ProfileDocument& doc) { return doc.find("Model", "Mappings").has_value(); }

ModelReadEffects readModelLocked(EngineState& state, const platform::ProfileDocument& doc) {
  {
    ModelContext ctx = modelContext(state);
    deleteAllAssociationsLocked(ctx);
  }
  resetCameraPosition(state);
  resetModelPosition(state);
  readMappings(state, doc);
  readColour(state, doc);
  applySelectorMethodsLocked(state, readSelectorSection(doc, state.data->fieldCount));
  readCalculator(state, doc);
  readSetup(state, doc);
  return readGrid(state, doc);
}

void finishModelRead(EngineState& state, const ModelReadEffects& effects) {
  for (int32_t row : effects.gridColourRows) postEngine(state, CMD_GRID_SET_COLOR, static_cast<uintptr_t>(row));
  for (size_t plane = 0; plane < 3; ++plane) {
    const std::string& path = effects.texturePaths[plane];
    // A picture that cannot be opened is passed over: the plane has none.
    const bool readable = !path.empty() && std::ifstream(path, std::ios::binary).good();
    postEngine(state, CMD_LOAD_TEXTURE_FILE, plane + 1, 0, readable ? path : std::string());
  }
  postEngine(state, CMD_SET_DEFAULT_COLOR_MODEL);
  setInitPosition(state);
}

bool fieldNamesMatch(const EngineState& state, const platform::ProfileDocument& doc) {
  const DataTable& table = *state.data;
  if (table.fieldCount <= 0 || table.rowCount <= 0) return true;
  for (const ModelFileMapping& m : readModelSection(doc)) {
    if (!m.field.empty() && fieldOfName(table, m.field) < 0) return false;
  }
  return true;
}

}  // namespace vlm
