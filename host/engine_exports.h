#pragma once
// Engine exports of families that a given engine build may not carry yet
// (connection, scene, model file, tools, output, help). They are looked up by
// name in the loaded libvlmapi once; a missing one is null and the commands
// that need it stay disabled.
#include <cstdint>

namespace vlm::host {

struct EngineExports {
  // connection and clipboard
  int (*initConnection)(int mode) = nullptr;
  int (*openFile)(const char* file, int mode) = nullptr;
  void (*cancelAction)() = nullptr;
  int (*isClipboardValid)() = nullptr;
  int (*copyToClipboard)() = nullptr;
  int (*getDataServer)(char* source, char* table, char* third) = nullptr;
  int (*getDataSource)() = nullptr;
  int (*load)(int withControl) = nullptr;
  int (*loadSelectionOnly)() = nullptr;
  int (*switchSource)() = nullptr;
  int (*switchExcel)() = nullptr;
  int (*excelOpen)(const char* file, const char* sheet) = nullptr;
  void (*switchAccess)() = nullptr;
  // scene
  int (*createDefaultModel)(int kind) = nullptr;
  void (*setDefaultModel)(int kind) = nullptr;
  int (*loadDefaultModel)(int kind) = nullptr;
  int (*modelReset)() = nullptr;
  void (*setWaterlevel)(int on) = nullptr;
  int (*getWaterlevel)() = nullptr;
  int (*getLabels)() = nullptr;
  void (*setLabels)(int on) = nullptr;
  int (*getDefaultLabels)() = nullptr;
  void (*setDefaultLabels)(int on) = nullptr;
  // model file
  int (*openModel)(const char* path) = nullptr;
  int (*modelApply)(const char* path) = nullptr;
  int (*modelSave)() = nullptr;
  int (*modelSaveAs)() = nullptr;
  // tools, output and help
  void (*openSelector)() = nullptr;
  void (*closeSelector)() = nullptr;
  int (*isSelectorOn)() = nullptr;
  void (*openCalculator)() = nullptr;
  void (*closeCalculator)() = nullptr;
  int (*isCalculatorOn)() = nullptr;
  void (*openGrid)() = nullptr;
  void (*closeGrid)() = nullptr;
  int (*isGridOn)() = nullptr;
  void (*playSlider)(int command) = nullptr;
  void (*openSetup)() = nullptr;
  void (*copyToHtml)() = nullptr;
  void (*copyImage)() = nullptr;
  void (*saveImage)() = nullptr;
  void (*printImage)() = nullptr;
  void (*help)(int topic) = nullptr;
  void (*startWebBrowser)(const char* address) = nullptr;
  int (*showFloatingMenu)(uintptr_t name) = nullptr;
  void (*showSelectorMenu)(uintptr_t wParam, uintptr_t lParam) = nullptr;
  void (*showCalculatorMenu)(uintptr_t wParam, uintptr_t lParam) = nullptr;
  int (*showGridMenu)(uintptr_t wParam, uintptr_t lParam) = nullptr;  // the chosen id
};

const EngineExports& engineExports();

}  // namespace vlm::host
