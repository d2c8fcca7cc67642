#include "engine/model_file/model_file_write.h"

#include <cstring>

#include "engine/engine_state.h"
#include "engine/model_file/rotation_matrix.h"
#include "engine/model_file/selector_section.h"
#include "model/association_lookup.h"
#include "model/color_entries.h"
#include "model/model_file/grid_section.h"
#include "model/model_file/model_file_sections.h"
#include "sound/sound_record.h"
#include "sound/speech_languages.h"
#include "sound/wave_resources.h"

namespace vlm {
namespace {

std::string fieldName(const DataTable& table, int32_t field) {
  if (field < 0 || field >= table.fieldCount) return {};
  const char* name = table.fields[static_cast<size_t>(field)].name;
  return std::string(name, strnlen(name, kFieldNameSize));
}

ModelFileSource sourceOf(EngineState& state) {
  const DataTable& t = *state.data;
  ModelFileSource s;
  s.application = applicationKeyword(t.sourceKind, t.sourcePath);
  s.source = t.sourceName;
  s.sourceFull = t.sourcePath;
  if (t.sourceKind == DSK_EXCEL) {
    s.table = t.excelSelection;
  } else if ((t.sourceKind == DSK_ACCESS || t.sourceKind == DSK_ODBC) && t.currentAccessObject >= 0 &&
             static_cast<size_t>(t.currentAccessObject) < t.accessObjects.size()) {
    s.table = t.accessObjects[static_cast<size_t>(t.currentAccessObject)].name;
  }
  ModelRecord& m = *state.model;
  m.sourceName = s.source;
  if (t.sourceKind == DSK_EXCEL) m.sourceSelection = s.table;
  return s;
}

std::vector<ModelFileMapping> mappingsOf(const EngineState& state) {
  const AssociationSet& set = state.model->associations;
  std::vector<ModelFileMapping> out;
  for (int32_t i = 0; i < set.count && i < kAttributeCount; ++i) {
    const Association& a = set.passes[static_cast<size_t>(i)];
    ModelFileMapping m;
    if (a.field >= 0) {
      m.field = fieldName(*state.data, a.field);
      if (m.field.empty()) m.field = std::string(a.fieldName, strnlen(a.fieldName, sizeof a.fieldName));
    }
    m.attribute = attributeOf(a);
    m.scale = static_cast<int32_t>(a.scale);  // truncated, as the file keeps whole scales
    m.options = a.options;
    out.push_back(std::move(m));
  }
  return out;
}

ModelFileColour colourOf(EngineState& state, int32_t field) {
  ModelContext ctx = modelContext(state);
  const int32_t type = field < state.data->fieldCount ? state.data->fields[static_cast<size_t>(field)].type : 0;
  const ColorModel& saved = state.view->savedColorModel;
  ModelFileColour c;
  c.rampType = saved.rampType;
  for (const ColorEntry& e : saved.entries) c.entries.push_back({colourEntryValueText(ctx, e, field, type), e.red, e.green, e.blue});
  return c;
}

ModelFileCalculator calculatorOf(const EngineState& state) {
  const CalculatorRecord& rec = state.main->calculator;
  ModelFileCalculator c;
  for (int32_t i = 0; i < rec.count; ++i) {
    const CalculatorRow& row = rec.rows[static_cast<size_t>(i)];
    const int32_t function = calcFunction(row);
    c.rows.push_back({function >= CALC_MIN ? fieldName(*state.data, row.field) : std::string(), function});
    if (calcSpoken(row)) c.spoken = i;
  }
  return c;
}

ModelFileSetup setupOf(EngineState& state) {
  ModelFileSetup s;
  SoundRecord& sound = soundRecord(state);
  s.effect = sound.currentEffect.load();
  s.effectName = waveResourceInfo(s.effect).effectName;
  if (!state.main->settings.newerSpeechApi) {
    s.speechLanguage = sound.speechLanguage.load();
    s.speechLanguageName = speechLanguage(*s.speechLanguage).name;
  }
  float angles[3];
  {
    std::lock_guard lock(state.view->view.mutex);
    for (int i = 0; i < 3; ++i) angles[i] = state.view->view.rotation[i];
  }
  s.matrix = rotationMatrix(angles);
  return s;
}

ModelFileGridSwitches switchesOf(const EngineState& state) {
  ModelFileGridSwitches s;
  const bool labels = state.view->view.legendOn.load();
  const bool all = state.model->scene.legend.showAllAttributes.load();
  s.labels = labels ? (all ? 2 : 1) : 0;
  s.animationMode = state.main->input.animationAllowed.load();
  s.water = state.view->view.waterLevelState.load() != 0 ? 1 : 0;
  return s;
}

}  // namespace

std::string applicationKeyword(int32_t sourceKind, const std::string& sourcePath) {
  switch (sourceKind) {
    case DSK_EXCEL: return "EXCEL";
    case DSK_ACCESS: return "ACCESS";
    case DSK_ODBC: return "ODBC";
    case DSK_CLIPBOARD: return sourcePath.empty() ? "UNKNOWN" : "TEXTFILE";
    default: return "UNKNOWN";
  }
}

void writeModelLocked(EngineState& state, platform::ProfileDocument& doc) {
  writeSourceSection(doc, sourceOf(state));
  writeModelSection(doc, mappingsOf(state));
  const int32_t colourField = attributeToField(state.model->associations, ATTRIB_COLOR);
  if (colourField >= 0) writeColourSection(doc, colourOf(state, colourField));
  writeSelectorSection(doc, selectorMethodsLocked(state));
  writeCalculatorSection(doc, calculatorOf(state));
  writeSetupSection(doc, setupOf(state));
  writeGridSection(doc, switchesOf(state), state.view->space);
}

}  // namespace vlm
