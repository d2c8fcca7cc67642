#include <mutex>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/render/render_commands.h"
#include "output/register_output.h"

namespace vlm {
namespace {

// Adapts a handler without a result to the table's form.
template <void (*F)(EngineState&, const platform::Command&)>
bool always(EngineState& state, const platform::Command& command) {
  F(state, command);
  return true;
}

void registerRenderHandlers() {
  HandlerTable& t = engineHandlers();
  t.set(CMD_OPEN_WINDOW, &onOpenWindow);
  t.set(CMD_CLOSE_WINDOW, &always<onCloseWindow>);
  t.set(CMD_RESIZE, &always<onResize>);
  t.set(CMD_SET_STEREO, &onSetStereo);
  t.set(CMD_SET_RENDER_QUALITY, &always<onSetRenderQuality>);
  t.set(CMD_DRAW_SCENE, &always<onDrawScene>);
  t.set(CMD_DRAW_ANTIALIASED, &always<onDrawScene>);
  t.set(CMD_UPDATE_VIEW, &always<onUpdateView>);
  t.set(CMD_ANIMATE, &always<onAnimate>);
  t.set(CMD_BUTTON_DOWN, &always<onButtonDown>);
  t.set(CMD_BUTTON_UP, &always<onButtonUp>);
  t.set(CMD_DOUBLE_CLICK, &always<onDoubleClick>);
  t.set(CMD_MOUSE_MOVE, &always<onMouseMove>);
  t.set(CMD_MOUSE_WHEEL, &always<onMouseWheel>);
  t.set(CMD_KEY_DOWN, &always<onKeyDown>);
  t.set(CMD_KEY_UP, &always<onKeyUp>);
  t.set(CMD_DO_THIS, &always<onDoThis>);
}

}  // namespace

void registerAllHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    registerRenderHandlers();
    registerSourceHandlers();
    registerSceneHandlers();
    registerPickingHandlers();
    registerSelectorHandlers();
    registerOutputHandlers();
    registerCalculatorHandlers();
    registerModelFileHandlers();
    registerSoundHandlers();
    registerToolHandlers();
  });
}

}  // namespace vlm
