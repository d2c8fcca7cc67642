// The command table: each menu, toolbar and accelerator command mapped onto
// engine exports. A command whose exports the engine does not carry is disabled.
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "host/command_ids.h"
#include "host/engine_exports.h"
#include "host/main_window.h"
#include "host/progress_part.h"
#include "host/toolbar_images.h"

namespace vlm::host {
namespace {

const EngineExports& ex() { return engineExports(); }

template <typename... F>
std::function<bool()> needs(F... f) {
  return [=] { return ((f != nullptr) && ...); };
}

std::function<bool()> always() {
  return [] { return true; };
}

void cancel() {
  if (ex().cancelAction) ex().cancelAction();
}

}  // namespace

void MainWindow::add(int id, std::function<bool()> available, std::function<void()> run) {
  commands_[id] = Command{std::move(available), std::move(run)};
}

void MainWindow::setStopEnabled(bool enabled) {
  stopEnabled_ = enabled;
  auto it = commands_.find(ID_STOP);
  const bool available = it != commands_.end() && it->second.available();
  if (QAction* a = toolbarAction(ID_STOP)) a->setEnabled(enabled && available);
}

void MainWindow::makeCommands() {
  const EngineExports& e = ex();
  add(ID_STOP, needs(e.cancelAction), [this] {
    cancel();
    setStopEnabled(false);
    progress_->end();
    statusText_->setText(QStringLiteral(" ready"));
  });
  add(ID_EXIT, always(), [this] { close(); });
  add(ID_LEGEND, needs(e.getLabels, e.setLabels, e.getDefaultLabels, e.setDefaultLabels), [this] { cycleLegend(); });
  add(ID_TILE, always(), [] { vlm_AutoArrange(1); });
  add(ID_CASCADE, always(), [] { vlm_AutoArrange(2); });
  add(ID_WATER_LEVEL, needs(e.getWaterlevel, e.setWaterlevel), [this] {
    ex().setWaterlevel(ex().getWaterlevel() ? 0 : 1);
    refreshMenus();
    vlm_DrawScene();
  });
  add(ID_MAKE_HORIZONTAL, always(), [] { vlm_DoThis(1); });
  add(ID_MAKE_VERTICAL, always(), [] { vlm_DoThis(2); });
  add(ID_SCALE_IDENTICAL, always(), [] { vlm_DoThis(3); });
  add(ID_SELECTOR, needs(e.isSelectorOn, e.openSelector, e.closeSelector),
      [this] { toggleTool(ex().isSelectorOn, ex().openSelector, ex().closeSelector); });
  add(ID_CALCULATOR, needs(e.isCalculatorOn, e.openCalculator, e.closeCalculator),
      [this] { toggleTool(ex().isCalculatorOn, ex().openCalculator, ex().closeCalculator); });
  add(ID_GRID, needs(e.isGridOn, e.openGrid, e.closeGrid),
      [this] { toggleTool(ex().isGridOn, ex().openGrid, ex().closeGrid); });
  add(ID_PLAY_SLIDER, needs(e.playSlider), [] { ex().playSlider(ID_PLAY_SLIDER); });
  add(ID_DELETE_FIELD, always(), [] {
    vlm_DeleteField(0);
    vlm_UpdateModel(0);
  });
  add(ID_ROTATE_FIELD, always(), [] {
    vlm_RotateField(0);
    vlm_UpdateModel(0);
  });
  add(ID_LOAD, needs(e.load), [this] { loadAgain(0); });
  add(ID_LOAD_WITH_CONTROL, needs(e.load), [this] { loadAgain(1); });
  add(ID_GOTO, needs(e.cancelAction, e.switchSource), [this] { goToSource(); });
  add(ID_CONNECT_EXCEL, needs(e.cancelAction, e.setDefaultModel, e.initConnection), [this] {
    cancel();
    ex().setDefaultModel(0);
    ex().initConnection(1);
    setStopEnabled(true);
  });
  add(ID_SWITCH_EXCEL, needs(e.cancelAction, e.switchExcel), [] {
    cancel();
    ex().switchExcel();
  });
  add(ID_CONNECT_ACCESS, needs(e.cancelAction, e.setDefaultModel, e.initConnection), [this] {
    cancel();
    ex().setDefaultModel(0);
    ex().initConnection(2);
    setStopEnabled(true);
  });
  add(ID_SWITCH_ACCESS, needs(e.cancelAction, e.switchAccess), [] {
    cancel();
    ex().switchAccess();
  });
  add(ID_PASTE, needs(e.cancelAction, e.initConnection, e.isClipboardValid), [this] {
    cancel();
    ex().initConnection(3);
    refreshEditMenu();
  });
  add(ID_COPY, needs(e.copyToClipboard), [this] {
    ex().copyToClipboard();
    refreshMenus();
  });
  add(ID_REPORT, needs(e.copyToHtml), [] { ex().copyToHtml(); });
  // Command 61144 has no key: the Delete key goes to the 3D view.
  add(ID_DELETE, always(), [this] { deleteSelected(); });
  add(ID_DELETE_TOOLBAR, always(), [this] { deleteSelected(); });
  add(ID_IMAGE_COPY, needs(e.copyImage), [] { ex().copyImage(); });
  add(ID_IMAGE_SAVE, needs(e.saveImage), [] { ex().saveImage(); });
  add(ID_IMAGE_PRINT, needs(e.printImage), [] { ex().printImage(); });
  add(ID_NEW_MODEL, needs(e.modelReset), [] { ex().modelReset(); });
  // One dialog for models and data files; each kind of file opens its own way.
  add(ID_OPEN_MODEL, always(), [this] { openFromDialog(); });
  add(ID_OPEN_SERVER, needs(e.openFile), [this] { openServerFromDialog(); });
  add(ID_LOAD_SELECTION_ONLY, needs(e.cancelAction, e.loadSelectionOnly), [this] {
    cancel();
    if (ex().loadSelectionOnly()) setStopEnabled(true);
  });
  add(ID_APPLY_MODEL, needs(e.modelApply), [] { ex().modelApply(nullptr); });
  add(ID_SAVE_MODEL, needs(e.modelSave), [] { ex().modelSave(); });
  add(ID_SAVE_MODEL_AS, needs(e.modelSaveAs), [] { ex().modelSaveAs(); });
  const int builders[][2] = {{ID_SCATTER, 1}, {ID_BARS, 2}, {ID_TILES, 3}, {ID_LAYERS, 4}};
  for (const auto& b : builders) {
    const int kind = b[1];
    add(b[0], needs(e.createDefaultModel), [kind] { ex().createDefaultModel(kind); });
  }
  const int loaders[][2] = {{ID_LOAD_DEFAULT_1, 1}, {ID_LOAD_DEFAULT_2, 2}, {ID_LOAD_DEFAULT_3, 3}};
  for (const auto& l : loaders) {
    const int kind = l[1];
    add(l[0], needs(e.loadDefaultModel), [this, kind] {
      setStopEnabled(true);
      ex().loadDefaultModel(kind);
    });
  }
  add(ID_OPTIONS, needs(e.openSetup), [] { ex().openSetup(); });
  add(ID_INIT_POSITION, always(), [] {
    vlm_GetInitPosition();
    vlm_DrawScene();
  });
  const int topics[][2] = {{ID_HELP, 0},         {ID_HELP_CONTENTS, 100}, {ID_HELP_INDEX, 101}, {ID_HELP_SEARCH, 102},
                           {ID_QUICK_CARD, 110}, {ID_SUPPORT, 111},       {ID_SAMPLES, 103}};
  for (const auto& t : topics) {
    const int topic = t[1];
    add(t[0], needs(e.cancelAction, e.help), [topic] {
      cancel();
      ex().help(topic);
    });
  }
  add(ID_ABOUT, always(), [this] { showAbout(); });
  add(ID_WEB_SITE, needs(e.startWebBrowser), [] { ex().startWebBrowser("https://velmora.example/"); });
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    // A recent file is opened as a model is (data files go on to their loader).
    add(ID_RECENT_FIRST + i, [this, i] { return ex().openModel != nullptr && i < static_cast<int>(recent_.names.size()); },
        [this, i] {
          if (i < static_cast<int>(recent_.names.size())) ex().openModel(recent_.names[static_cast<size_t>(i)].c_str());
        });
  }
}

void MainWindow::cycleLegend() {
  const EngineExports& e = ex();
  if (!e.getLabels()) {
    e.setLabels(1);
    e.setDefaultLabels(0);
  } else if (!e.getDefaultLabels()) {
    e.setDefaultLabels(1);
  } else {
    e.setLabels(0);
    e.setDefaultLabels(0);
  }
  updateLegendImage();
  vlm_DrawScene();
}

void MainWindow::toggleTool(int (*isOn)(), void (*open)(), void (*close)()) {
  if (isOn())
    close();
  else
    open();
  vlm_PostMessage(HM_REFRESH, 0, 0);
}

void MainWindow::deleteSelected() {
  if (vlm_GetNumberOfSelected() >= 1) {
    bool yes = true;
    if (vlm_IsConfirmationRequired()) {
      QMessageBox box(QMessageBox::Question, QStringLiteral("Just to be sure..."),
                      QStringLiteral("Do you want to delete the selected objects?\n\nYou can't revert this action."),
                      QMessageBox::Yes | QMessageBox::No, this);
      box.setDefaultButton(QMessageBox::No);
      yes = box.exec() == QMessageBox::Yes;
    }
    if (yes) {
      vlm_DeleteSelected();
      vlm_SetSelectedObjectType(0);
    }
  }
  refreshMenus();
}

void MainWindow::showAbout() {
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("about"));
  dialog.setWindowTitle(QStringLiteral("About Velmora ACCESS"));
  auto* picture = new QLabel;
  picture->setPixmap(toolbarImage(17).pixmap(48, 48));
  auto* text = new QLabel(QStringLiteral("Velmora ACCESS\n\n"
                                         "Interactive 3D visual data mining, real-time analysis, "
                                         "navigation, data sonification, chart and report creation "
                                         "for every Access user.\n\n"));
  text->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(picture, 0, Qt::AlignTop);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(row);
  layout->addWidget(buttons);
  dialog.resize(420, 180);
  dialog.exec();
}

bool MainWindow::isCommandEnabled(int id) const {
  auto it = commands_.find(id);
  if (it == commands_.end() || !it->second.available()) return false;
  if (QAction* a = menuAction(id)) return a->isEnabled();
  if (QAction* a = toolbarAction(id)) return a->isEnabled();
  return true;
}

bool MainWindow::runCommand(int id) {
  auto it = commands_.find(id);
  // Ctrl+V may come before the clipboard's change notice: look again.
  if (id == ID_PASTE && !isCommandEnabled(id)) updatePasteState();
  if (it == commands_.end() || !isCommandEnabled(id)) return false;
  it->second.run();
  return true;
}

}  // namespace vlm::host
