#include "model/field_match.h"

#include <cstring>

namespace vlm {

bool fieldNamesEqual(const AssociationSet& set, const DataTable& table) {
  if (set.count <= 0) return false;
  for (int32_t i = 0; i < set.count && i < kAttributeCount; ++i) {
    const Association& a = set.passes[static_cast<size_t>(i)];
    if (a.field < 0) continue;
    if (a.field >= table.fieldCount || a.field >= kMaxFields) return false;
    const DataField& field = table.fields[static_cast<size_t>(a.field)];
    if (std::strncmp(field.name, a.fieldName, sizeof(field.name)) != 0) return false;
    if (field.type != a.fieldType) return false;
  }
  return true;
}

}  // namespace vlm
