#pragma once
// The texture file dialog of the Grid's Bitmap File rows, and the operation
// the Grid calls: choose a picture and load it as a plane texture. Host thread.
#include <cstdint>
#include <string>

#include "platform/file_dialog.h"

namespace vlm {

struct EngineState;

// "Select Texture File": starts in the data folder with the filter chosen last.
platform::FileDialogRequest textureFileRequest(const std::string& dataFolder, int32_t lastFilter);

// Shows the dialog until a file of an image type is chosen (another name
// brings it back) or it is cancelled. On a choice: 1 and the path; the filter
// and the data folder are remembered and HM_REFRESH is posted. 0 when cancelled.
int selectTextureFile(EngineState& state, std::string& path);

// The Grid's Bitmap File row of plane 1 (X), 2 (Y) or 3 (Z): the dialog, then
// the chosen picture loaded as the plane's texture (the model is rebuilt when
// it is in). 1 when a file was chosen.
int choosePlaneTexture(EngineState& state, int32_t plane);

}  // namespace vlm
