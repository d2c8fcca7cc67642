// Writes the desktop files the system package installs: the launcher in the
// applications folder (opening model files with the program found in PATH)
// and the model file type for the shared MIME database.
//   vlm_desktop_files OUTPUT_FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/desktop_entries.h"

namespace {

bool write(const std::filesystem::path& path, const std::string& text) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) std::fprintf(stderr, "vlm_desktop_files: cannot write %s\n", path.c_str());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vlm_desktop_files OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path out(argv[1]);
  vlm::host::Launcher launcher;
  launcher.name = "Velmora ACCESS";
  launcher.comment = "Interactive 3D visual data mining";
  launcher.command = {"vlmac"};
  launcher.fieldCode = "%f";
  launcher.icon = vlm::host::kProgramIcon;
  launcher.mimeType = vlm::host::kModelMimeType;
  launcher.categories = "Science;DataVisualization;";
  launcher.marked = false;  // the package's own: a user's removal leaves it alone
  const bool ok = write(out / "applications" / "velmora-access.desktop", vlm::host::desktopEntry(launcher)) &&
                  write(out / "mime" / "packages" / vlm::host::kMimePackageName,
                        vlm::host::mimePackage("Velmora Model"));
  return ok ? 0 : 1;
}
