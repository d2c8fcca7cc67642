// The registry store as the host's installation and removal reach it.
#include <optional>
#include <string>

#include "engine/api/text_out.h"
#include "engine/vlmapi.h"
#include "platform/registry_store.h"

namespace {

using vlm::platform::RegistryRoot;
using vlm::platform::RegistryStore;

std::optional<RegistryRoot> rootOf(int root) {
  switch (root) {
    case VLM_HKEY_CLASSES_ROOT: return RegistryRoot::ClassesRoot;
    case VLM_HKEY_CURRENT_USER: return RegistryRoot::CurrentUser;
    case VLM_HKEY_LOCAL_MACHINE: return RegistryRoot::LocalMachine;
    default: return std::nullopt;
  }
}

std::string nameOf(const char* name) { return name ? name : ""; }

// The store keeps what it read; an installation run by another process may
// have changed the files since.
RegistryStore& freshStore() {
  RegistryStore& store = RegistryStore::instance();
  store.reload();
  return store;
}

}  // namespace

VLM_API int vlm_WriteRegistryText(int root, const char* key, const char* name, const char* text) {
  const auto r = rootOf(root);
  if (!r || !key || !text) return 0;
  return RegistryStore::instance().writeText(*r, key, nameOf(name), text) ? 1 : 0;
}

VLM_API int vlm_WriteRegistryDword(int root, const char* key, const char* name, uint32_t value) {
  const auto r = rootOf(root);
  if (!r || !key) return 0;
  return RegistryStore::instance().writeDword(*r, key, nameOf(name), value) ? 1 : 0;
}

VLM_API int vlm_CreateRegistryKey(int root, const char* key) {
  const auto r = rootOf(root);
  if (!r || !key || !*key) return 0;
  return RegistryStore::instance().createKey(*r, key) ? 1 : 0;
}

VLM_API int vlm_DeleteRegistryKey(int root, const char* key) {
  const auto r = rootOf(root);
  if (!r || !key || !*key) return 0;
  return RegistryStore::instance().deleteKey(*r, key) ? 1 : 0;
}

VLM_API int vlm_IsRegistryKey(int root, const char* key, int withSubKeys) {
  const auto r = rootOf(root);
  if (!r || !key) return 0;
  RegistryStore& store = freshStore();
  return (withSubKeys ? store.keyTreeExists(*r, key) : store.keyExists(*r, key)) ? 1 : 0;
}

VLM_API int vlm_ReadRegistryText(int root, const char* key, const char* name, char* buffer, int size) {
  const auto r = rootOf(root);
  if (!r || !key) return vlm::api::copyOut(std::nullopt, buffer, size);
  return vlm::api::copyOut(freshStore().readText(*r, key, nameOf(name)), buffer, size);
}

VLM_API int vlm_ReadRegistryDword(int root, const char* key, const char* name, uint32_t* value) {
  const auto r = rootOf(root);
  if (!r || !key) return 0;
  const auto stored = freshStore().readDword(*r, key, nameOf(name));
  if (!stored) return 0;
  if (value) *value = *stored;
  return 1;
}
