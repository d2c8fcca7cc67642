#include "engine/settings_store.h"

#include <algorithm>
#include <cctype>

#include "engine/engine_state.h"
#include "model/space_settings_table.h"

namespace vlm {
namespace {

using platform::RegistryRoot;

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

int32_t asInt(uint32_t v) { return static_cast<int32_t>(v); }

struct ToolWindowKeys {
  const char* x;
  const char* y;
  const char* width;
  const char* height;
  const char* shown;
};
constexpr ToolWindowKeys kSelectorKeys{"SelectorX", "SelectorY", "SelectorWidth", "SelectorHeight", "Selector"};
constexpr ToolWindowKeys kCalculatorKeys{"CalculatorX", "CalculatorY", "CalculatorWidth", "CalculatorHeight", "Calculator"};
constexpr ToolWindowKeys kGridKeys{"GridX", "GridY", "GridWidth", "GridHeight", "Grid"};

void readToolWindow(SettingsAccess& s, const ToolWindowKeys& k, ToolWindowState& w) {
  w.rect.x = asInt(s.readDword("", k.x, 0));
  w.rect.y = asInt(s.readDword("", k.y, 0));
  w.rect.width = asInt(s.readDword("", k.width, 0));
  w.rect.height = asInt(s.readDword("", k.height, 0));
  w.shown = asInt(s.readDword("", k.shown, 1));
}

void writeToolWindow(SettingsAccess& s, const ToolWindowKeys& k, const ToolWindowState& w) {
  s.writeDwordIfChanged("", k.x, static_cast<uint32_t>(w.rect.x), 0);
  s.writeDwordIfChanged("", k.y, static_cast<uint32_t>(w.rect.y), 0);
  s.writeDwordIfChanged("", k.width, static_cast<uint32_t>(w.rect.width), 0);
  s.writeDwordIfChanged("", k.height, static_cast<uint32_t>(w.rect.height), 0);
  s.writeDwordIfChanged("", k.shown, static_cast<uint32_t>(w.shown), 1);
}

std::string machineRoot(int32_t applicationKind) {
  if (applicationKind == 2) return "SOFTWARE\\Velmora\\Velmora.Access\\";
  if (applicationKind == 1) return "SOFTWARE\\Velmora\\Velmora.Excel\\";
  return "SOFTWARE\\Velmora\\";
}

}  // namespace

uint32_t SettingsAccess::readDword(const std::string& subKey, const std::string& name, uint32_t defaultValue) {
  return store_.readDword(RegistryRoot::CurrentUser, root_ + subKey, name).value_or(defaultValue);
}

void SettingsAccess::writeDwordIfChanged(const std::string& subKey, const std::string& name, uint32_t value,
                                         uint32_t defaultValue) {
  const uint32_t stored = readDword(subKey, name, defaultValue);
  if (stored != value) store_.writeDword(RegistryRoot::CurrentUser, root_ + subKey, name, value);
}

std::string SettingsAccess::readText(const std::string& subKey, const std::string& name,
                                     const std::string& defaultText) {
  return store_.readText(RegistryRoot::CurrentUser, root_ + subKey, name).value_or(defaultText);
}

void SettingsAccess::writeText(const std::string& subKey, const std::string& name, const std::string& text) {
  store_.writeText(RegistryRoot::CurrentUser, root_ + subKey, name, text);
}

int32_t defaultFiletypeFromText(const std::string& text) {
  const std::string u = upper(text);
  static const char* const kTypes[] = {"VLM", "XLS", "MDB", "TXT", "CSV"};
  for (int i = 0; i < 5; ++i)
    if (contains(u, kTypes[i])) return i + 1;
  return 1;
}

const char* defaultFiletypeText(int32_t type) {
  switch (type) {
    case 1: return "VLM";
    case 2: return "XLS";
    case 3: return "MDB";
    case 4: return "TXT";
    case 5: return "CSV";
    default: return "*";
  }
}

bool centerMassFromText(const std::string& text) { return !contains(upper(text), "UNI"); }

bool newerSpeechFromText(const std::string& text) {
  const std::string u = upper(text);
  return contains(u, "5") || !contains(u, "4");
}

void readSettings(EngineState& state, platform::RegistryStore& store) {
  MainRecord& m = *state.main;
  EngineSettings& e = m.settings;
  SettingsAccess s(store, m.registryRoot);

  std::string root =
      store.readText(RegistryRoot::LocalMachine, machineRoot(m.applicationKind), "InstallRoot").value_or("");
  if (!root.empty() && root.back() != '/' && root.back() != '\\') root.push_back('/');
  e.installRoot = root;

  readToolWindow(s, kSelectorKeys, e.selector);
  readToolWindow(s, kCalculatorKeys, e.calculator);
  readToolWindow(s, kGridKeys, e.grid);
  e.asking = asInt(s.readDword("", "Asking", 1));
  e.advisor = asInt(s.readDword("", "Advisor", 1));
  e.mappingOptions = asInt(s.readDword("", "MappingOptions", 1));
  e.centerMass = centerMassFromText(s.readText("", "Center", "CENTER_MASS"));
  e.speechCalculator = asInt(s.readDword("", "SpeechCalculator", 1));
  e.newerSpeechApi = newerSpeechFromText(s.readText("", "SpeechAPI", "5.1"));
  e.stereoGridItem = asInt(s.readDword("", "3DStereo", 0));
  state.view->view.stereo = e.stereoGridItem;
  e.eyeOffset = asInt(s.readDword("", "3DStereo_EyeOffset", 20));
  // The Grid shows both as rows of the space settings; one tenth of the
  // offset is the eye offset of the stereo frame.
  state.view->space.rows[kRowStereo].value = e.stereoGridItem != 0 ? 1 : 0;
  state.view->space.rows[kRowEyeOffset].value = e.eyeOffset;
  state.view->view.stereoEyeOffset = static_cast<float>(e.eyeOffset) * 0.1f;
  e.animateBuilders = asInt(s.readDword("", "AnimateBuilders", 0));
  e.toolbarFull = asInt(s.readDword("", "ToolbarFull", 0));
  e.firstRun = asInt(s.readDword("", "FirstRun", 1));
  e.defaultFiletype = defaultFiletypeFromText(s.readText("", "DefaultFiletype", "VLM"));
  // Setup Options' "Automatic Rotations".
  m.input.animationAllowed = s.readDword("", "AutoRotation", 1) != 0 ? 1 : 0;

  LoadControl& l = m.loadControl;
  l.method = asInt(s.readDword("", "LoadControlMethod", 1));
  l.limit = asInt(s.readDword("", "LoadControlLimit", 500));
  l.each = asInt(s.readDword("", "LoadControlEach", 10));
  l.from = asInt(s.readDword("", "LoadControlFrom", 1));
  l.to = asInt(s.readDword("", "LoadControlTo", 1000));
  l.step = asInt(s.readDword("", "LoadControlStep", 10));
  l.percent = asInt(s.readDword("", "LoadControlPercent", 10));
  l.effectiveMethod = l.method;
  // A step of 0 or less would never advance the sampling.
  l.each = std::max(l.each, 1);
  l.step = std::max(l.step, 1);
  if (m.applicationKind == 1) e.language = asInt(s.readDword("", "Language", 0));
  m.settingsRead = true;
}

void writeSettings(EngineState& state, platform::RegistryStore& store) {
  MainRecord& m = *state.main;
  if (!m.settingsRead) return;  // never overwrite what was not read
  const EngineSettings& e = m.settings;
  SettingsAccess s(store, m.registryRoot);
  auto u = [](int32_t v) { return static_cast<uint32_t>(v); };

  writeToolWindow(s, kSelectorKeys, e.selector);
  writeToolWindow(s, kCalculatorKeys, e.calculator);
  writeToolWindow(s, kGridKeys, e.grid);
  s.writeDwordIfChanged("", "Asking", u(e.asking), 1);
  s.writeDwordIfChanged("", "Advisor", u(e.advisor), 1);
  s.writeDwordIfChanged("", "MappingOptions", u(e.mappingOptions), 1);
  s.writeDwordIfChanged("", "3DStereo", u(e.stereoGridItem), 0);
  s.writeDwordIfChanged("", "3DStereo_EyeOffset", u(e.eyeOffset), 20);
  s.writeText("", "Center", e.centerMass ? "CENTER_MASS" : "CENTER_UNIVERSE");
  s.writeText("", "SpeechAPI", e.newerSpeechApi ? "5.1" : "4.0");
  s.writeDwordIfChanged("", "SpeechCalculator", u(e.speechCalculator), 1);
  s.writeDwordIfChanged("", "AnimateBuilders", u(e.animateBuilders), 0);
  s.writeDwordIfChanged("", "ToolbarFull", u(e.toolbarFull), 0);
  s.writeDwordIfChanged("", "FirstRun", u(e.firstRun), 1);
  s.writeText("", "DefaultFiletype", defaultFiletypeText(e.defaultFiletype));
  s.writeDwordIfChanged("", "AutoRotation", u(m.input.animationAllowed.load()), 1);

  const LoadControl& l = m.loadControl;
  s.writeDwordIfChanged("", "LoadControlMethod", u(l.effectiveMethod), 1);
  s.writeDwordIfChanged("", "LoadControlLimit", u(l.limit), 500);
  s.writeDwordIfChanged("", "LoadControlEach", u(l.each), 10);
  s.writeDwordIfChanged("", "LoadControlFrom", u(l.from), 1);
  s.writeDwordIfChanged("", "LoadControlTo", u(l.to), 1000);
  s.writeDwordIfChanged("", "LoadControlStep", u(l.step), 10);
  s.writeDwordIfChanged("", "LoadControlPercent", u(l.percent), 10);
  if (m.applicationKind == 1) {
    s.writeDwordIfChanged("", "Language", u(e.language), 0);
    s.writeDwordIfChanged("", "Row", u(e.excelRow), 0);
    s.writeDwordIfChanged("", "Col", u(e.excelCol), 0);
  }
}

}  // namespace vlm
