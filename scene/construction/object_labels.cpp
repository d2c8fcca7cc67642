#include "scene/construction/object_labels.h"

#include <cstring>

#include "data/value_text.h"
#include "scene/fonts/code_page.h"

namespace vlm::scene {

void buildObjectLabels(ObjectArray& objects, LabelStore& store, const DataTable& table,
                       int32_t field, const platform::RegionalSettings& regional) {
  store.clear();
  char text[1024];
  for (size_t i = 0; i < objects.size(); ++i) {
    ObjectRecord& o = objects[i];
    o.labelList = 0;
    if (valueText(table, field, static_cast<int32_t>(i), text, sizeof text, true, regional) == 0) continue;
    const std::string codes = toCodePage(std::string_view(text, std::strlen(text)));
    if (codes.empty()) continue;
    store.offsets.push_back(static_cast<uint32_t>(store.chars.size()));
    store.chars.insert(store.chars.end(), codes.begin(), codes.end());
    o.labelList = static_cast<int32_t>(store.offsets.size());
  }
}

void clearObjectLabels(ObjectArray& objects, LabelStore& store) {
  store.clear();
  for (ObjectRecord& o : objects) o.labelList = 0;
}

}  // namespace vlm::scene
