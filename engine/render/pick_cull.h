#pragma once
// The pick window as planes in clip space, so that the selection pass can skip
// objects that cannot reach it (llvmpipe's GL_SELECT is slow per primitive).
// Each object is taken as the sphere about its origin that holds its shape.
namespace vlm {
struct ObjectRecord;
}

namespace vlm::render {

struct PickCull {
  bool active = false;
  double mvp[16] = {};  // projection x model-view, column-major, with the pick matrix

  // Loads the current GL projection and model-view.
  void loadFromGl();
  // False only when the object's bounding sphere lies wholly outside one of the
  // left, right, bottom or top planes of the pick window.
  bool mayHit(const ObjectRecord& o) const;
};

}  // namespace vlm::render
