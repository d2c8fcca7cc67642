#include "output/textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <new>
#include <unordered_set>
#include <vector>

#include "codecs/image_file.h"
#include "data/value_text.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/render/render_context.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/space_settings_table.h"
#include "platform/command_queue.h"
#include "platform/message_box.h"
#include "sources/progress.h"

#ifndef GL_BGR
#define GL_BGR 0x80E0
#endif

namespace vlm {
namespace {

// Samples below this index may get the canvas picture of their text.
constexpr int32_t kCanvasSamples = 2048;

// Holds the data lock for a scope unless this thread holds it already (the
// builders bind the texture field on the engine thread under the lock).
class HeldDataLock {
 public:
  explicit HeldDataLock(platform::DataLock& lock) : lock_(lock), owned_(!lock.heldByCurrentThread()) {
    if (owned_) lock_.acquire();
  }
  ~HeldDataLock() {
    if (owned_) lock_.release();
  }
  HeldDataLock(const HeldDataLock&) = delete;
  HeldDataLock& operator=(const HeldDataLock&) = delete;

 private:
  platform::DataLock& lock_;
  bool owned_;
};

bool onEngineThread(EngineState& state) {
  auto engine = std::atomic_load(&state.main->engineThread);
  return engine && engine->isCurrent();
}

// Once a picture file has been loaded the pixel maps of the one-bit text
// images are off, and the canvas draws in colour.
void enableColourTextures(EngineState& state) {
  ViewState& v = state.view->view;
  if (v.colorTextures) return;
  v.colorTextures = true;
  glPixelTransferi(GL_MAP_COLOR, GL_FALSE);
  if (v.render) v.render->canvas.colour = true;
}

// Uploads B, G, R rows (bottom row first, tightly packed) with their mipmaps;
// the texture stays bound. 0 when no texture name could be had.
GLuint uploadTexture(const codecs::Image& image, bool clamp) {
  GLuint name = 0;
  glGenTextures(1, &name);
  if (name == 0) return 0;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if (clamp) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  }
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glPushAttrib(GL_PIXEL_MODE_BIT);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelTransferi(GL_MAP_COLOR, GL_FALSE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows of 3 bytes a pixel, unpadded
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_BGR, GL_UNSIGNED_BYTE, image.pixels.data());
  glPopClientAttrib();
  glPopAttrib();
  return name;
}

// The canvas picture of a text as a B, G, R image, bottom row first.
codecs::Image canvasImage(render::TextCanvas& canvas, const std::string& text) {
  codecs::Image image;
  const std::vector<uint8_t> rows = render::renderCanvasText(canvas, text);
  if (rows.empty()) return image;
  image.width = image.height = render::kCanvasSize;
  image.pixels.assign(image.stride() * render::kCanvasSize, 255);
  for (int32_t y = 0; y < render::kCanvasSize; ++y) {
    uint8_t* dst = image.row(render::kCanvasSize - 1 - y);
    for (int32_t x = 0; x < render::kCanvasSize; ++x) {
      uint8_t* d = dst + static_cast<size_t>(x) * 3;
      if (canvas.colour) {
        const uint8_t* s = rows.data() + (static_cast<size_t>(y) * render::kCanvasSize + static_cast<size_t>(x)) * 3;
        d[0] = s[2], d[1] = s[1], d[2] = s[0];
      } else {
        const uint8_t bits = rows[static_cast<size_t>(y) * (render::kCanvasSize / 8) + static_cast<size_t>(x) / 8];
        if (bits & (0x80u >> (x % 8))) d[0] = d[1] = d[2] = 0;
      }
    }
  }
  return image;
}

void deleteNames(std::vector<uint32_t>& names) {
  if (!names.empty()) glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
  names.clear();
}

// Engine thread: the GL names of cleared lists.
void deleteRetired(EngineState& state) {
  std::vector<uint32_t> names;
  {
    std::lock_guard lock(state.main->output.texturesMutex);
    names.swap(state.main->output.retired);
  }
  if (state.view->view.render) deleteNames(names);
}

// Engine thread: every entry and its texture.
void dropAllTextures(EngineState& state) {
  std::vector<uint32_t> names;
  {
    OutputState& o = state.main->output;
    std::lock_guard lock(o.texturesMutex);
    names.swap(o.retired);
    for (int32_t i = 0; i < o.textures.count; ++i)
      if (o.textures.entries[static_cast<size_t>(i)].texture != 0)
        names.push_back(o.textures.entries[static_cast<size_t>(i)].texture);
    o.textures = ObjectTextureList{};
  }
  if (state.view->view.render) deleteNames(names);
}

// A name to load and the first sample that carries it.
struct PendingName {
  std::string name;
  int32_t sample = 0;
};

}  // namespace

int32_t findTextureEntry(const ObjectTextureList& list, std::string_view name) {
  for (int32_t i = 0; i < list.count; ++i) {
    const TextureEntry& e = list.entries[static_cast<size_t>(i)];
    if (e.name.empty()) break;
    if (e.name == name) return i;
  }
  return -1;
}

bool growTextureList(ObjectTextureList& list) {
  if (static_cast<size_t>(list.count) < list.entries.size()) return true;
  try {
    list.entries.resize(list.entries.size() + kTextureListStep);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

uint32_t textureByName(EngineState& state, std::string_view text) {
  if (text.empty()) return 0;
  OutputState& o = state.main->output;
  std::lock_guard lock(o.texturesMutex);
  const int32_t i = findTextureEntry(o.textures, text);
  return i < 0 ? 0 : o.textures.entries[static_cast<size_t>(i)].texture;
}

std::string textureNameOf(EngineState& state, int32_t field, int32_t sample) {
  char text[1024];
  text[0] = '\0';
  valueText(*state.data, field, sample, text, sizeof text, false, state.main->regional);
  return text;
}

void createObjectTextures(EngineState& state, int32_t field) {
  deleteRetired(state);
  HostProgress progress(state);
  OutputState& o = state.main->output;
  // The names come from the table under the data lock; the files are read and
  // the textures made without it, so a load is not held up by the disk.
  std::vector<PendingName> pending;
  {
    HeldDataLock lock(state.main->dataLock);
    const int32_t n = field >= 0 && field < state.data->fieldCount ? state.data->rowCount.get() : 0;
    progress.begin(" texturing", 0, n);
    std::unordered_set<std::string> seen;
    std::lock_guard listLock(o.texturesMutex);
    for (int32_t sample = 0; sample < n; ++sample) {
      std::string name = textureNameOf(state, field, sample);
      if (name.empty() || seen.count(name)) continue;
      seen.insert(name);
      const int32_t i = findTextureEntry(o.textures, name);
      if (i >= 0 && o.textures.entries[static_cast<size_t>(i)].texture != 0) continue;
      pending.push_back({std::move(name), sample});
    }
  }
  std::shared_ptr<render::RenderContext> rc = state.view->view.render;
  if (rc) {
    glEnable(GL_TEXTURE_2D);
    for (size_t k = 0; k < pending.size(); ++k) {
      const PendingName& p = pending[k];
      progress.step(p.sample);
      int32_t index = -1;
      {
        std::lock_guard lock(o.texturesMutex);
        index = findTextureEntry(o.textures, p.name);
        if (index < 0) {
          // A name tried before and failed is tried again in its own entry.
          if (!growTextureList(o.textures)) index = -2;
          else {
            index = o.textures.count++;
            o.textures.entries[static_cast<size_t>(index)].name = p.name;
          }
        }
      }
      if (index == -2) {
        glDisable(GL_TEXTURE_2D);
        dropAllTextures(state);
        vlm_Error("Unable to store all the texture information!");
        break;
      }
      codecs::DecodeResult decoded = codecs::decodeImageFile(p.name);
      codecs::Image image;
      if (decoded.ok()) {
        enableColourTextures(state);
        image = std::move(decoded.image);
      } else if (p.sample < kCanvasSamples) {
        image = canvasImage(rc->canvas, p.name);
      }
      if (image.width == 0) continue;  // the entry keeps texture 0
      const GLuint name = uploadTexture(image, true);
      std::lock_guard lock(o.texturesMutex);
      if (index < o.textures.count) {
        TextureEntry& e = o.textures.entries[static_cast<size_t>(index)];
        e.texture = name;
        e.width = image.width;
        e.height = image.height;
      }
    }
    glDisable(GL_TEXTURE_2D);
  }
  progress.end();
  postBusy(state, false);
}

void deleteObjectTextures(EngineState& state) {
  dropAllTextures(state);
  state.main->output.texturesEvent.set();
}

void retireObjectTextures(EngineState& state) {
  OutputState& o = state.main->output;
  std::lock_guard lock(o.texturesMutex);
  for (int32_t i = 0; i < o.textures.count; ++i)
    if (o.textures.entries[static_cast<size_t>(i)].texture != 0)
      o.retired.push_back(o.textures.entries[static_cast<size_t>(i)].texture);
  o.textures = ObjectTextureList{};
}

void releaseTextureNames(EngineState& state) {
  dropAllTextures(state);
  HeldDataLock lock(state.main->dataLock);
  for (AxisRecord& axis : state.view->space.axes) {
    if (axis.textureId != 0 && state.view->view.render) {
      const GLuint name = axis.textureId;
      glDeleteTextures(1, &name);
    }
    axis.textureId = 0;
  }
}

void loadPlaneTexture(EngineState& state, const std::string& path, int32_t plane) {
  if (path.empty()) {
    // No picture: the plane drops the one it had (a model without one).
    if (plane < 1 || plane > 3) return;
    HeldDataLock lock(state.main->dataLock);
    AxisRecord& axis = state.view->space.axes[static_cast<size_t>(plane - 1)];
    if (axis.textureId != 0 && state.view->view.render) {
      const GLuint old = axis.textureId;
      glDeleteTextures(1, &old);
    }
    axis.textureId = 0;
    state.view->view.cacheValid[CACHE_TEXTURED_SPACE] = false;
    return;
  }
  if (codecs::imageTypeOfName(path) == codecs::IMAGE_NONE) return;
  codecs::DecodeResult decoded = codecs::decodeImageFile(path);
  if (decoded.status == codecs::DecodeStatus::OutOfMemory) {
    platform::MessageBoxRequest box;
    box.caption = "Velmora Error";
    box.text = "Can't allocate memory for texture file.";
    box.icon = platform::BoxIcon::Warning;
    box.topMost = true;
    box.beep = true;
    platform::showMessageBox(box);
    return;
  }
  if (decoded.status == codecs::DecodeStatus::CannotOpen) {
    vlm_Error(("Unable to open the texture file " + path + ".").c_str());
    return;
  }
  if (!decoded.ok()) {
    vlm_Error("Bad Image Format");
    return;
  }
  OutputState& o = state.main->output;
  HostProgress progress(state);
  progress.begin(" processing", 0, 100);
  progress.step(20);
  o.texturesEvent.reset();
  if (!o.planeTextureLoaded) {
    o.planeTextureLoaded = true;
    dropAllTextures(state);
  }
  progress.step(50);
  if (plane >= 1 && plane <= 3 && state.view->view.render) {
    AxisRecord& axis = state.view->space.axes[static_cast<size_t>(plane - 1)];
    if (axis.textureId != 0) {
      const GLuint old = axis.textureId;
      glDeleteTextures(1, &old);
      axis.textureId = 0;
    }
    enableColourTextures(state);
    glEnable(GL_TEXTURE_2D);
    const GLuint name = uploadTexture(decoded.image, false);
    glDisable(GL_TEXTURE_2D);
    progress.step(80);
    decoded.image = codecs::Image{};
    if (name == 0) {
      vlm_Error("Unable to store texture in list");
    } else {
      HeldDataLock lock(state.main->dataLock);
      // The record keeps the path and where its file name starts; the
      // Bitmap File row shows the name.
      const size_t slash = path.find_last_of('/');
      const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
      axis.texturePath = path;
      axis.textureNameOffset = static_cast<int32_t>(nameStart);
      axis.textureId = name;
      state.view->space.rows[static_cast<size_t>(latticeRow(plane - 1, kLatBitmapFile))].text = path.substr(nameStart);
      state.view->view.cacheValid[CACHE_SPACE] = false;
      state.view->view.cacheValid[CACHE_TEXTURED_SPACE] = false;
    }
    progress.step(90);
  }
  o.texturesEvent.set();
  postEngine(state, CMD_UPDATE_MODEL, 0);
  progress.end();
}

void resolveObjectTextures(EngineState& state, const Association& pass) {
  state.view->view.texturesPresent = true;
  ModelRecord& m = *state.model;
  OutputState& o = state.main->output;
  const int32_t n = std::min<int32_t>(static_cast<int32_t>(m.objects.size()), state.data->rowCount);
  std::lock_guard lock(o.texturesMutex);
  for (int32_t i = 0; i < n; ++i) {
    const std::string name = textureNameOf(state, pass.field, i);
    const int32_t e = name.empty() ? -1 : findTextureEntry(o.textures, name);
    m.objects[static_cast<size_t>(i)].texture =
        e < 0 ? 0 : static_cast<int32_t>(o.textures.entries[static_cast<size_t>(e)].texture);
  }
}

void installOutputHooks(EngineState& state) {
  EngineState* s = &state;  // the hooks live in the state they point at
  ModelHooks& h = state.model->hooks;
  h.createTextures = [s](int32_t field) {
    if (onEngineThread(*s)) createObjectTextures(*s, field);
    else vlm_CreateTextures(field);
  };
  h.resolveTextures = [s](const Association& pass) { resolveObjectTextures(*s, pass); };
  RowArrayHooks& table = state.data->hooks;
  std::function<void()> previous = table.clear;
  table.clear = [s, previous] {
    if (previous) previous();
    retireObjectTextures(*s);
    postEngine(*s, CMD_DELETE_TEXTURES);
  };
}

bool onCreateTextures(EngineState& state, const platform::Command& command) {
  createObjectTextures(state, static_cast<int32_t>(static_cast<intptr_t>(command.wParam)));
  // A rebuild asked for with the association may have been merged into one
  // queued before this command: the objects take their textures in another.
  postEngine(state, CMD_UPDATE_MODEL, 0);
  return true;
}

bool onDeleteTextures(EngineState& state, const platform::Command&) {
  deleteObjectTextures(state);
  return true;
}

bool onLoadTextureFile(EngineState& state, const platform::Command& command) {
  loadPlaneTexture(state, command.text, static_cast<int32_t>(static_cast<intptr_t>(command.wParam)));
  return true;
}

}  // namespace vlm
