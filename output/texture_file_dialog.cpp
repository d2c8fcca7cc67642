#include "output/texture_file_dialog.h"

#include <filesystem>
#include <iterator>

#include "codecs/image_types.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/vlmapi.h"

namespace vlm {
namespace {

const platform::FileFilter kTextureFilters[] = {
    {"Graphic Files",
     "*.bmp;*.dib;*.rle;*.gif;*.jpg;*.jpeg;*.jpe;*.jfif;*.tga;*.tif;*.tiff;*.pcx;*.pcc;*.rgb;*.rgba;*.sgi;*.png"},
    {"Bitmap Files (*.BMP)", "*.bmp;*.dib;*.rle"},
    {"GIF Files (*.GIF)", "*.gif"},
    {"JPEG Files (*.JPG)", "*.jpg;*.jpeg;*.jpe;*.jfif"},
    {"Targa Files (*.TGA)", "*.tga"},
    {"TIFF Files (*.TIF)", "*.tif;*.tiff"},
    {"PCX Files (*.PCX)", "*.pcx;*.pcc"},
    {"RGB Files (*.RGB)", "*.rgb;*.rgba;*.sgi"},
    {"PNG Files (*.PNG)", "*.png"},
    {"All Files", "*.*"},
};

}  // namespace

platform::FileDialogRequest textureFileRequest(const std::string& dataFolder, int32_t lastFilter) {
  platform::FileDialogRequest r;
  r.save = false;
  r.caption = "Select Texture File";
  r.directory = dataFolder;
  r.filters.assign(std::begin(kTextureFilters), std::end(kTextureFilters));
  r.filterIndex = lastFilter >= 0 && lastFilter < static_cast<int32_t>(std::size(kTextureFilters)) ? lastFilter : 0;
  r.confirmOverwrite = false;
  r.resizable = true;
  return r;
}

int selectTextureFile(EngineState& state, std::string& path) {
  MainRecord& m = *state.main;
  platform::FileDialogRequest request = textureFileRequest(m.dataFolder, m.output.lastTextureFilter);
  while (true) {
    const platform::FileDialogResult result = platform::showFileDialog(request);
    if (!result.accepted || result.path.empty()) return 0;
    if (codecs::imageTypeOfName(result.path) == codecs::IMAGE_NONE) {
      // No picture by its name: ask again, where the user was.
      request.directory = std::filesystem::path(result.path).parent_path().string();
      request.filterIndex = result.filterIndex;
      continue;
    }
    path = result.path;
    m.output.lastTextureFilter = result.filterIndex;
    m.dataFolder = std::filesystem::path(result.path).parent_path().string();
    postRefresh(state);
    return 1;
  }
}

int choosePlaneTexture(EngineState& state, int32_t plane) {
  std::string path;
  if (!selectTextureFile(state, path)) return 0;
  vlm_LoadTextureFile(path.c_str(), plane);
  return 1;
}

}  // namespace vlm
