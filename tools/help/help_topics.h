#pragma once
// The help topics: which page of the help pages each topic number opens, where
// the pages are, and opening them in the help viewer.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vlm {
struct EngineState;
}

namespace vlm::tools {

// How a page is shown: as a topic, or the contents, index or search view.
enum class HelpView { Topic, Contents, Index, Search };

struct HelpRequest {
  std::string page;  // file name of the page, "intro.html"
  HelpView view = HelpView::Topic;
  std::string folder;  // where the pages are
};

// The page of a topic number; topic 0 is resolved by the caller (the legend
// under the pointer). Any unknown topic gives the quick card.
HelpRequest helpPageOf(int32_t topic);
// The page of an attribute's legend line (ATTRIB_COLOR .. ATTRIB_JITTER), or
// empty for none.
std::string attributeHelpPage(int32_t attribute);

// Folders searched for the pages, in order: $VELMORA_HELP_DIR alone when it is
// set; otherwise "assets/help" in the installation folder, beside the engine
// library (a build folder links its assets), in the package's share folder
// seen from the library's, and the source tree's.
std::vector<std::string> helpFolders(const std::string& installRoot);
// The first of those folders that holds the page, or empty.
std::string findHelpFolder(const std::string& installRoot, const std::string& page);

// Shows a request; tests put a recorder in place of the help viewer. The
// result is false when the page could not be shown.
using HelpOpener = std::function<bool(const HelpRequest&)>;
HelpOpener setHelpOpener(HelpOpener opener);

// vlm_Help: opens the page of `topic`; "Unable to find Velmora Help file." when
// the pages are missing. Topic 103 (demonstrations) shows the model open dialog.
void showHelp(EngineState& state, int32_t topic);

}  // namespace vlm::tools
