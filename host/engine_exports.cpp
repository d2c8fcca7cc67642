#include "host/engine_exports.h"

#include <dlfcn.h>

namespace vlm::host {
namespace {

template <typename F>
void find(F& slot, const char* name) {
  slot = reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

EngineExports resolve() {
  EngineExports e;
  find(e.initConnection, "vlm_InitConnection");
  find(e.openFile, "vlm_OpenFile");
  find(e.cancelAction, "vlm_CancelAction");
  find(e.isClipboardValid, "vlm_IsClipboardValid");
  find(e.copyToClipboard, "vlm_CopyToClipboard");
  find(e.getDataServer, "vlm_GetDataServer");
  find(e.getDataSource, "vlm_GetDataSource");
  find(e.load, "vlm_Load");
  find(e.loadSelectionOnly, "vlm_LoadSelectionOnly");
  find(e.switchSource, "vlm_Switch");
  find(e.switchExcel, "vlm_SwitchExcel");
  find(e.excelOpen, "vlm_ExcelOpen");
  find(e.switchAccess, "vlm_SwitchAccess");
  find(e.createDefaultModel, "vlm_CreateDefaultModel");
  find(e.setDefaultModel, "vlm_SetDefaultModel");
  find(e.loadDefaultModel, "vlm_LoadDefaultModel");
  find(e.modelReset, "vlm_ModelReset");
  find(e.setWaterlevel, "vlm_SetWaterlevel");
  find(e.getWaterlevel, "vlm_GetWaterlevel");
  find(e.getLabels, "vlm_GetLabels");
  find(e.setLabels, "vlm_SetLabels");
  find(e.getDefaultLabels, "vlm_GetDefaultLabels");
  find(e.setDefaultLabels, "vlm_SetDefaultLabels");
  find(e.openModel, "vlm_OpenModel");
  find(e.modelApply, "vlm_ModelApply");
  find(e.modelSave, "vlm_ModelSave");
  find(e.modelSaveAs, "vlm_ModelSaveAs");
  find(e.openSelector, "vlm_OpenSelector");
  find(e.closeSelector, "vlm_CloseSelector");
  find(e.isSelectorOn, "vlm_IsSelectorOn");
  find(e.openCalculator, "vlm_OpenCalculator");
  find(e.closeCalculator, "vlm_CloseCalculator");
  find(e.isCalculatorOn, "vlm_IsCalculatorOn");
  find(e.openGrid, "vlm_OpenGrid");
  find(e.closeGrid, "vlm_CloseGrid");
  find(e.isGridOn, "vlm_IsGridOn");
  find(e.playSlider, "vlm_PlaySlider");
  find(e.openSetup, "vlm_OpenSetup");
  find(e.copyToHtml, "vlm_CopyToHTML");
  find(e.copyImage, "vlm_CopyImage");
  find(e.saveImage, "vlm_SaveImage");
  find(e.printImage, "vlm_PrintImage");
  find(e.help, "vlm_Help");
  find(e.startWebBrowser, "vlm_StartWebBrowser");
  find(e.showFloatingMenu, "vlm_ShowFloatingMenu");
  find(e.showSelectorMenu, "vlm_ShowSelectorMenu");
  find(e.showCalculatorMenu, "vlm_ShowCalculatorMenu");
  find(e.showGridMenu, "vlm_ShowGridMenu");
  return e;
}

}  // namespace

const EngineExports& engineExports() {
  static const EngineExports exports = resolve();
  return exports;
}

}  // namespace vlm::host
