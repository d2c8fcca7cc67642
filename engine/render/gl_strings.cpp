#include "engine/render/gl_strings.h"

#include <GL/gl.h>

#include <cstring>
#include <mutex>

#include "engine/view_state.h"

namespace vlm::render {

std::string boundedGlString(const char* text, size_t capacity) {
  if (!text || capacity == 0) return {};
  return std::string(text, strnlen(text, capacity - 1));
}

void readGlStrings(ViewState& view) {
  auto read = [](GLenum name) {
    return boundedGlString(reinterpret_cast<const char*>(glGetString(name)), kGlStringCapacity);
  };
  std::string vendor = read(GL_VENDOR), renderer = read(GL_RENDERER), version = read(GL_VERSION),
              extensions = read(GL_EXTENSIONS);
  std::lock_guard lock(view.mutex);
  view.glVendor = std::move(vendor);
  view.glRenderer = std::move(renderer);
  view.glVersion = std::move(version);
  view.glExtensions = std::move(extensions);
}

}  // namespace vlm::render
