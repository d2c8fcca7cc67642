#pragma once
// The view as a picture: copied to the clipboard, saved as an image file,
// printed. The handlers run on the engine thread, which reads the pixels;
// dialogs and the printer run on the host thread.
#include <cstdint>
#include <string>

#include "codecs/image.h"
#include "codecs/image_types.h"
#include "platform/file_dialog.h"

namespace vlm {

struct EngineState;
namespace platform {
struct Command;
}

// The Save Image As dialog. The initial name is the model's name, or
// "Velmora", always with the extension of the last type saved (a model name
// keeps its own extension off, so confirming never writes over the model).
std::string initialImageName(const std::string& modelName, codecs::ImageType lastType);
platform::FileDialogRequest saveImageRequest(const std::string& modelName, const std::string& modelFolder,
                                             codecs::ImageType lastType);
// The chosen name with the extension of the chosen filter when its file name
// has none ("All Files": that of the last type saved).
std::string finalImageName(const std::string& chosen, int filterIndex, codecs::ImageType lastType);
// Channel order of the pixels handed to the writer of each type.
codecs::ChannelOrder channelOrderFor(codecs::ImageType type);

// Where the printed picture goes on the page, in printer pixels: scaled by
// the printer's over the screen's resolution times 0.8, its top-left corner a
// tenth of the page width in from the top-left; shrunk (keeping its shape) only
// where it would run off the page.
struct PrintPlacement {
  int32_t x = 0, y = 0, width = 0, height = 0;
};
PrintPlacement printPlacement(int32_t imageWidth, int32_t imageHeight, double printerDpiX, double printerDpiY,
                              double screenDpiX, double screenDpiY, int32_t pageWidth, int32_t pageHeight);

// CMD_COPY_IMAGE, CMD_SAVE_IMAGE, CMD_PRINT_IMAGE.
bool onCopyImage(EngineState& state, const platform::Command& command);
bool onSaveImage(EngineState& state, const platform::Command& command);
bool onPrintImage(EngineState& state, const platform::Command& command);

}  // namespace vlm
