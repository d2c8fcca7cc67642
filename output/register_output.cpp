#include "output/register_output.h"

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "output/image_output.h"
#include "output/textures.h"

namespace vlm {

void registerOutputHandlers() {
  HandlerTable& t = engineHandlers();
  t.set(CMD_COPY_IMAGE, &onCopyImage);
  t.set(CMD_SAVE_IMAGE, &onSaveImage);
  t.set(CMD_PRINT_IMAGE, &onPrintImage);
  t.set(CMD_CREATE_TEXTURES, &onCreateTextures);
  t.set(CMD_DELETE_TEXTURES, &onDeleteTextures);
  t.set(CMD_LOAD_TEXTURE_FILE, &onLoadTextureFile);
}

}  // namespace vlm
