#include "tools/help/help_topics.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "engine/engine_state.h"
#include "model/association.h"
#include "platform/report.h"
#include "tools/help/help_window.h"
#include "tools/tool_services.h"

#ifndef VLM_SOURCE_HELP_DIR
#define VLM_SOURCE_HELP_DIR ""
#endif

namespace vlm::tools {
namespace {

std::mutex g_mutex;
HelpOpener g_opener;

struct TopicPage {
  int32_t topic;
  const char* page;
  HelpView view;
};

constexpr TopicPage kTopics[] = {
    {100, "intro.html", HelpView::Contents}, {101, "intro.html", HelpView::Index},
    {102, "intro.html", HelpView::Search},   {110, "quick_card.html", HelpView::Topic},
    {111, "support.html", HelpView::Topic},  {120, "grid.html", HelpView::Topic},
    {121, "setup.html", HelpView::Topic},    {122, "open_file.html", HelpView::Topic},
    {123, "loadctrl.html", HelpView::Topic}, {130, "modify.html", HelpView::Topic},
    {131, "color.html", HelpView::Topic},    {140, "select.html", HelpView::Topic},
    {141, "calc.html", HelpView::Topic},     {150, "dm_sound.html", HelpView::Topic},
    {151, "speech.html", HelpView::Topic},   {160, "launch.html", HelpView::Topic},
};

constexpr const char* kAttributePages[kAttributeCount] = {
    "",             "color.html",     "size.html",      "height.html",    "base.html",
    "dimxy.html",   "dimxy.html",     "axes.html",      "axes.html",      "axes.html",
    "rots.html",    "rots.html",      "rots.html",      "shape.html",     "opacity.html",
    "textlabel.html", "texture.html", "sndfreq.html",   "sndvol.html",    "speech.html",
    "jitter.html",
};

std::string libraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&libraryFolder), &info) == 0 || !info.dli_fname) return {};
  std::error_code ec;
  const std::filesystem::path file = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? std::string() : file.parent_path().string();
}

bool openHelp(EngineState& state, const HelpRequest& request) {
  HelpOpener opener;
  {
    std::lock_guard lock(g_mutex);
    opener = g_opener;
  }
  return opener ? opener(request) : showHelpWindow(state, request);
}

}  // namespace

HelpRequest helpPageOf(int32_t topic) {
  for (const TopicPage& t : kTopics)
    if (t.topic == topic) return {t.page, t.view, {}};
  return {"quick_card.html", HelpView::Topic, {}};
}

std::string attributeHelpPage(int32_t attribute) {
  if (attribute <= ATTRIB_NO || attribute >= kAttributeCount) return {};
  return kAttributePages[attribute];
}

std::vector<std::string> helpFolders(const std::string& installRoot) {
  if (const char* env = std::getenv("VELMORA_HELP_DIR"); env && *env) return {env};
  std::vector<std::string> folders;
  if (!installRoot.empty()) folders.push_back(installRoot + "assets/help");
  if (const std::string lib = libraryFolder(); !lib.empty()) {
    folders.push_back(lib + "/assets/help");
    folders.push_back(lib + "/../../share/velmora/assets/help");
  }
  if (*VLM_SOURCE_HELP_DIR) folders.push_back(VLM_SOURCE_HELP_DIR);
  return folders;
}

std::string findHelpFolder(const std::string& installRoot, const std::string& page) {
  for (const std::string& folder : helpFolders(installRoot)) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::path(folder) / page, ec)) return folder;
  }
  return {};
}

HelpOpener setHelpOpener(HelpOpener opener) {
  std::lock_guard lock(g_mutex);
  HelpOpener old = std::move(g_opener);
  g_opener = std::move(opener);
  return old;
}

void showHelp(EngineState& state, int32_t topic) {
  if (topic == 103) {
    // The demonstrations are model files: the next start arranges the windows
    // again, and the open dialog starts on models.
    state.main->settings.firstRun = 1;
    state.main->settings.defaultFiletype = 1;
    if (const auto& open = toolServices().openModelDialog) open();
    return;
  }
  HelpRequest request = helpPageOf(topic);
  if (topic == 0) {
    const InputState& in = state.main->input;
    const std::string page = in.selectedObjectType == 2 ? attributeHelpPage(in.selectedObjectIndex) : std::string();
    request = page.empty() ? helpPageOf(110) : HelpRequest{page, HelpView::Topic, {}};
  }
  request.folder = findHelpFolder(state.main->settings.installRoot, request.page);
  if (request.folder.empty() || !openHelp(state, request)) {
    platform::reportError(
        "Unable to find Velmora Help file. \n\n"
        "Please check that Velmora is installed completely, or contact Velmora support.");
  }
}

}  // namespace vlm::tools
