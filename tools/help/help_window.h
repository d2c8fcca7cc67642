#pragma once
// The help viewer: the help pages in a browser pane with Contents, Index and
// a full-text Search over every page, Back and Forward, and a button that
// hands the page to the desktop's web browser.
#include <QString>

#include "tools/help/help_topics.h"
#include "tools/tool_window.h"

class QLineEdit;
class QTextBrowser;

namespace vlm::tools {

class HelpWindow : public ToolWindow {
 public:
  HelpWindow(EngineState& state, ToolWindowState& place, QWidget* owner);
  // False when the page cannot be read.
  bool showRequest(const HelpRequest& request);
  QString currentPage() const;  // file name of the page shown, or the view's name
  QString shownText() const;

 private:
  void showIndex();
  void runSearch(const QString& words);
  QTextBrowser* browser_ = nullptr;
  QLineEdit* search_ = nullptr;
  QString folder_;
  QString view_;
};

// Opens the viewer (made on first use) at the request.
bool showHelpWindow(EngineState& state, const HelpRequest& request);

// The index of the pages: each keyword of a page's "keywords" meta line, and
// each page title, with the page it leads to; sorted without regard to case.
struct HelpIndexEntry {
  QString keyword;
  QString page;
  QString title;
};
std::vector<HelpIndexEntry> buildHelpIndex(const QString& folder);
// Pages whose text holds every word (case-insensitive), with their titles.
std::vector<HelpIndexEntry> searchHelp(const QString& folder, const QString& words);

}  // namespace vlm::tools
