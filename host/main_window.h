#pragma once
// The host main window: menus, toolbar and status bar around the engine's 3D
// view. It does no data work: it forwards input to the engine, maps commands
// onto engine exports and shows what the engine reports in host messages.
#include <QMainWindow>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/recent_files.h"
#include "host/tree_menu_delay.h"
#include "host/window_settings.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace vlm::host {

class ProgressPart;
class View3DWindow;
enum class MouseAction;

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Starts the engine on this window; false when it cannot start.
  bool startEngine();
  // The steps after the window exists: menus, a first frame, then the data
  // (the file when one is given, otherwise the default connection).
  void afterStart(const std::string& file);
  void stopEngine();
  bool engineRunning() const { return engineRunning_; }
  View3DWindow* view() const { return view_; }

  // Runs a menu, toolbar or accelerator command; false when it is disabled.
  bool runCommand(int id);
  bool isCommandEnabled(int id) const;
  QAction* menuAction(int id) const;
  QAction* toolbarAction(int id) const;
  QToolBar* toolbar() const { return toolbar_; }
  int toolbarStyle() const { return toolbarStyle_; }
  QString statusPartText(int part) const;
  ProgressPart* progress() const { return progress_; }
  const RecentFiles& recentFiles() const { return recent_; }
  QMenu* fileMenu() const { return fileMenu_; }
  void refreshMenus();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  struct Command {
    std::function<bool()> available;  // the engine exports it needs exist
    std::function<void()> run;
  };

  // main_window_commands.cpp
  void makeCommands();
  void add(int id, std::function<bool()> available, std::function<void()> run);
  void cycleLegend();
  void toggleTool(int (*isOn)(), void (*open)(), void (*close)());
  void deleteSelected();
  void showAbout();
  void setStopEnabled(bool enabled);
  // main_window_menus.cpp
  void buildMenus();
  QAction* addItem(QMenu* menu, int id, const char* text, bool checkable = false);
  void buildToolbar();
  void buildStatusBar();
  void rebuildRecentMenu();
  void updateLegendImage();
  void refreshEditMenu();
  void setCaption();
  // main_window_open.cpp: File > Open, Load and Go To, which say why when
  // they cannot act.
  void openFromDialog();
  // main_window_server.cpp: the connection dialog of a database server.
  void openServerFromDialog();
  void loadAgain(int withControl);
  void goToSource();
  void tell(const QString& text);
  // main_window.cpp
  void handleHostMessage(QEvent* e);
  void runGridMenuCommand(int id);
  // Whether the clipboard holds a table, read again when it changes.
  void updatePasteState();
  void forwardMouse(MouseAction action, int x, int y, int flags);
  void handleKey(QKeyEvent* e, bool down);
  void recordPlacement();
  void saveSettings();
  void showHits(int64_t rows, int64_t source, int64_t selected);

  View3DWindow* view_ = nullptr;
  QWidget* viewContainer_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  int toolbarStyle_ = 0;
  QLabel* statusText_ = nullptr;
  ProgressPart* progress_ = nullptr;
  QLabel* hitsPart_ = nullptr;
  QLabel* selectionPart_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* toolsMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  std::vector<QAction*> recentActions_;
  std::map<int, QAction*> menuActions_;
  std::map<int, QAction*> toolbarActions_;
  std::map<int, Command> commands_;
  RecentFiles recent_;
  WindowPlacement placement_;
  bool stopEnabled_ = false;
  bool pasteValid_ = false;
  QString openFolder_;  // where the open dialog was last used
  QString openFilter_;  // the filter last chosen there
  bool engineRunning_ = false;
  bool closing_ = false;
  TreeMenuDelay treeMenuDelay_;
};

}  // namespace vlm::host
