// The host program's own values in the settings store. The host reads its
// window placement before the engine starts and writes it after the engine
// has stopped, so these work without an engine state.
#include "engine/api/text_out.h"
#include "engine/vlmapi.h"
#include "platform/registry_store.h"

namespace {

using vlm::platform::RegistryRoot;
using vlm::platform::RegistryStore;

const char kHostKey[] = "SOFTWARE\\Velmora\\Velmora.Access\\";

}  // namespace

VLM_API uint32_t vlm_ReadHostDword(const char* name, uint32_t defaultValue) {
  if (!name) return defaultValue;
  return RegistryStore::instance().readDword(RegistryRoot::CurrentUser, kHostKey, name).value_or(defaultValue);
}

VLM_API int vlm_WriteHostDword(const char* name, uint32_t value, uint32_t defaultValue) {
  if (!name) return 0;
  RegistryStore& store = RegistryStore::instance();
  const uint32_t stored = store.readDword(RegistryRoot::CurrentUser, kHostKey, name).value_or(defaultValue);
  if (stored == value) return 1;
  return store.writeDword(RegistryRoot::CurrentUser, kHostKey, name, value) ? 1 : 0;
}

VLM_API int vlm_ReadHostText(const char* name, char* buffer, int size) {
  if (!name) return vlm::api::copyOut(std::nullopt, buffer, size);
  return vlm::api::copyOut(RegistryStore::instance().readText(RegistryRoot::CurrentUser, kHostKey, name), buffer, size);
}

VLM_API int vlm_WriteHostText(const char* name, const char* text) {
  if (!name || !text) return 0;
  return RegistryStore::instance().writeText(RegistryRoot::CurrentUser, kHostKey, name, text) ? 1 : 0;
}
