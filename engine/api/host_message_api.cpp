// How the host reads the host messages it receives as Qt events.
#include "engine/vlmapi.h"
#include "platform/host_bridge.h"

using vlm::platform::HostMessageEvent;

VLM_API int vlm_HostMessageEventType(void) { return static_cast<int>(HostMessageEvent::eventType()); }

VLM_API int vlm_ReadHostMessage(void* event, vlm_host_message* out) {
  if (!event || !out) return 0;
  auto* e = static_cast<QEvent*>(event);
  if (e->type() != HostMessageEvent::eventType()) return 0;
  const auto& d = static_cast<HostMessageEvent*>(e)->data();
  out->message = d.message;
  out->wParam = d.wParam;
  out->lParam = d.lParam;
  out->extra = d.extra;
  out->text = d.text.c_str();
  return 1;
}

VLM_API void vlm_SetHostMessageResult(void* event, intptr_t result) {
  auto* e = static_cast<QEvent*>(event);
  if (e && e->type() == HostMessageEvent::eventType()) static_cast<HostMessageEvent*>(e)->result = result;
}
