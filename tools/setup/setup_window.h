#pragma once
// The Setup Options window: the user's preferences, each control editing one
// setting at once.
#include "tools/tool_window.h"

class QCheckBox;
class QRadioButton;

namespace vlm::tools {

class SetupWindow : public ToolWindow {
 public:
  SetupWindow(EngineState& state, QWidget* owner);
  // Sets every control from the settings.
  void readSettings();

  QCheckBox* askUser = nullptr;
  QCheckBox* showTips = nullptr;
  QCheckBox* autoRotations = nullptr;
  QCheckBox* animateBuilders = nullptr;
  QCheckBox* speechCalculator = nullptr;
  QRadioButton* speechApi4 = nullptr;
  QRadioButton* speechApi5 = nullptr;
  QRadioButton* imageAndText = nullptr;
  QRadioButton* imageOnly = nullptr;

 protected:
  void closedByUser() override;

 private:
  bool reading_ = false;
};

// vlm_OpenSetup, vlm_CloseSetup. Host thread.
bool openSetup(EngineState& state);
void closeSetup(EngineState& state);

// "Show Tips": the Tip of the Day at start. Kept in the settings store under
// "ShowTips" (the host reads it at start).
bool showTipsSetting(EngineState& state);
void setShowTipsSetting(EngineState& state, bool on);
// "Automatic Rotations": kept under "AutoRotation".
void setAutomaticRotations(EngineState& state, bool on);

}  // namespace vlm::tools
