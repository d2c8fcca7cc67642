#include "tools/setup/setup_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/worker_thread.h"
#include "platform/registry_store.h"
#include "platform/report.h"
#include "tools/help/help_topics.h"
#include "tools/host_widget.h"
#include "tools/model_edit.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

constexpr WindowRect kSetupSize{0, 0, 340, 330};

QCheckBox* check(const char* text, const char* name) {
  auto* c = new QCheckBox(QString::fromUtf8(text));
  c->setObjectName(QString::fromUtf8(name));
  return c;
}

QRadioButton* radio(const char* text, const char* name) {
  auto* r = new QRadioButton(QString::fromUtf8(text));
  r->setObjectName(QString::fromUtf8(name));
  return r;
}

}  // namespace

bool showTipsSetting(EngineState& state) {
  return platform::RegistryStore::instance()
             .readDword(platform::RegistryRoot::CurrentUser, state.main->registryRoot, "ShowTips")
             .value_or(1) != 0;
}

void setShowTipsSetting(EngineState& state, bool on) {
  platform::RegistryStore::instance().writeDword(platform::RegistryRoot::CurrentUser, state.main->registryRoot,
                                                 "ShowTips", on ? 1 : 0);
}

void setAutomaticRotations(EngineState& state, bool on) {
  state.main->input.animationAllowed = on ? 1 : 0;
  if (!on) stopAnimation(state);  // a running spin stops, and the host hears it is idle
}

SetupWindow::SetupWindow(EngineState& state, QWidget* owner)
    : ToolWindow(state, toolsOf(state).setupPlace, kSetupSize, QStringLiteral(" Setup Options"), 121, owner) {
  setObjectName(QStringLiteral("setup"));
  askUser = check("Ask User", "askUser");
  showTips = check("Show Tips", "showTips");
  autoRotations = check("Automatic Rotations", "autoRotations");
  animateBuilders = check("Animate Model Builders", "animateBuilders");
  speechCalculator = check("Speech Calculator", "speechCalculator");
  speechApi4 = radio("Speech API 4", "speechApi4");
  speechApi5 = radio("Speech API 5", "speechApi5");
  imageAndText = radio("Image and Text", "imageAndText");
  imageOnly = radio("Image Only", "imageOnly");
  auto* speech = new QGroupBox(QStringLiteral("Speech"));
  auto* speechLayout = new QVBoxLayout(speech);
  speechLayout->addWidget(speechApi4);
  speechLayout->addWidget(speechApi5);
  auto* toolbar = new QGroupBox(QStringLiteral("Toolbar"));
  auto* toolbarLayout = new QVBoxLayout(toolbar);
  toolbarLayout->addWidget(imageAndText);
  toolbarLayout->addWidget(imageOnly);
  auto* help = new QPushButton(QStringLiteral("Help"));
  auto* close = new QPushButton(QStringLiteral("Close"));
  help->setObjectName(QStringLiteral("help"));
  close->setObjectName(QStringLiteral("close"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(help);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  for (QCheckBox* c : {askUser, showTips, autoRotations, animateBuilders, speechCalculator}) layout->addWidget(c);
  auto* groups = new QHBoxLayout;
  groups->addWidget(speech);
  groups->addWidget(toolbar);
  layout->addLayout(groups);
  layout->addStretch(1);
  layout->addLayout(buttons);

  // The workers read some of these settings: every change is made under the
  // data lock, without making the host wait for it.
  auto setting = [this](int32_t EngineSettings::*field) {
    return [this, field](bool on) {
      if (reading_) return;
      editModel(state_, [field, on](EngineState& s) { s.main->settings.*field = on ? 1 : 0; });
    };
  };
  connect(askUser, &QCheckBox::toggled, this, setting(&EngineSettings::asking));
  connect(animateBuilders, &QCheckBox::toggled, this, setting(&EngineSettings::animateBuilders));
  connect(speechCalculator, &QCheckBox::toggled, this, setting(&EngineSettings::speechCalculator));
  connect(showTips, &QCheckBox::toggled, this, [this](bool on) {
    if (!reading_) setShowTipsSetting(state_, on);
  });
  connect(autoRotations, &QCheckBox::toggled, this, [this](bool on) {
    if (!reading_) setAutomaticRotations(state_, on);
  });
  auto chooseSpeech = [this](bool newer) {
    if (reading_ || speechApi5->isChecked() != newer) return;
    // Starting the chosen interface stores it in the settings once it runs.
    if (state_.main->settings.newerSpeechApi != newer) postData(state_, CMD_INIT_SPEECH, newer ? 1 : 0);
  };
  connect(speechApi4, &QRadioButton::toggled, this, [chooseSpeech](bool on) {
    if (on) chooseSpeech(false);
  });
  connect(speechApi5, &QRadioButton::toggled, this, [chooseSpeech](bool on) {
    if (on) chooseSpeech(true);
  });
  auto chooseToolbar = [this](int32_t full) {
    if (reading_) return;
    editModel(state_, [full](EngineState& s) { s.main->settings.toolbarFull = full; });
    postHost(state_, HM_LAYOUT, 1, static_cast<uintptr_t>(full));
  };
  connect(imageAndText, &QRadioButton::toggled, this, [chooseToolbar](bool on) {
    if (on) chooseToolbar(1);
  });
  connect(imageOnly, &QRadioButton::toggled, this, [chooseToolbar](bool on) {
    if (on) chooseToolbar(0);
  });
  connect(help, &QPushButton::clicked, this, [this] { showHelp(state_, 121); });
  connect(close, &QPushButton::clicked, this, [this] { closeSetup(state_); });
}

void SetupWindow::readSettings() {
  reading_ = true;
  const EngineSettings& s = state_.main->settings;
  askUser->setChecked(s.asking != 0);
  showTips->setChecked(showTipsSetting(state_));
  autoRotations->setChecked(state_.main->input.animationAllowed.load() != 0);
  animateBuilders->setChecked(s.animateBuilders != 0);
  speechCalculator->setChecked(s.speechCalculator != 0);
  (s.newerSpeechApi ? speechApi5 : speechApi4)->setChecked(true);
  (s.toolbarFull ? imageAndText : imageOnly)->setChecked(true);
  reading_ = false;
}

void SetupWindow::closedByUser() { closeSetup(state_); }

bool openSetup(EngineState& state) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    platform::reportError("Unable to open Setup Window.");
    return false;
  }
  ToolsState& tools = toolsOf(state);
  if (!tools.setup) tools.setup = new SetupWindow(state, hostWidget(state));
  tools.setup->readSettings();
  // Centred on the desktop whenever it is shown.
  const QRect desk = desktopRect();
  const QSize size = tools.setup->sizeHint().expandedTo(QSize(kSetupSize.width, kSetupSize.height));
  tools.setupPlace.rect = {desk.x() + (desk.width() - size.width()) / 2, desk.y() + (desk.height() - size.height()) / 2,
                           size.width(), size.height()};
  tools.setup->openWindow();
  return true;
}

void closeSetup(EngineState& state) {
  ToolsState& tools = toolsOf(state);
  if (!tools.setup) return;
  tools.setup->closeWindow();
  postEngine(state, CMD_DRAW_SCENE);
}

}  // namespace vlm::tools
