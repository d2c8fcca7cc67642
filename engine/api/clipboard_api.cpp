// The clipboard exports; both run on the caller's (host) thread.
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "platform/clipboard.h"
#include "sources/clipboard_exchange.h"

using namespace vlm;

VLM_API int vlm_IsClipboardValid(void) {
  // A table has a header line and at least one more: the text up to the
  // second line break tells.
  const auto text = platform::clipboard()->readBeginning(2);
  return text ? clipboardTextValid(*text) : 0;
}

VLM_API int vlm_CopyToClipboard(void) {
  auto state = currentState();
  return state ? copyTableToClipboard(*state) : 0;
}
