#include "model/association_lookup.h"

#include <cctype>
#include <cstring>

namespace vlm {
namespace {

bool validIndex(const AssociationSet& set, int32_t index) {
  return index >= 0 && index < set.count && index < kAttributeCount;
}

bool equalsUpperCased(const char* upperText, const char* name) {
  for (;; ++upperText, ++name) {
    const char n = static_cast<char>(std::toupper(static_cast<unsigned char>(*name)));
    if (*upperText != n) return false;
    if (n == '\0') return true;
  }
}


}  // namespace

int32_t attributeToAssociation(const AssociationSet& set, int32_t attribute) {
  for (int32_t i = 0; i < set.count && i < kAttributeCount; ++i) {
    if (attributeOf(set.saved[i]) == attribute) return i;
  }
  return -1;
}

int32_t attributeToField(const AssociationSet& set, int32_t attribute) {
  const int32_t i = attributeToAssociation(set, attribute);
  return i < 0 ? -1 : set.saved[i].field;
}

const DataField* associationField(const DataTable& table, int32_t field) {
  if (field < 0 || field >= table.fieldCount || static_cast<size_t>(field) >= table.fields.size()) {
    return nullptr;
  }
  return &table.fields[static_cast<size_t>(field)];
}

const DataField* attributeToDataField(const AssociationSet& set, const DataTable& table,
                                      int32_t attribute) {
  return associationField(table, attributeToField(set, attribute));
}

Association* attributeToPass(AssociationSet& set, int32_t attribute) {
  const int32_t i = attributeToAssociation(set, attribute);
  return i < 0 ? nullptr : &set.passes[i];
}

Association* attributeToPassSaved(AssociationSet& set, int32_t attribute) {
  const int32_t i = attributeToAssociation(set, attribute);
  return i < 0 ? nullptr : &set.saved[i];
}

int32_t associationMapping(const AssociationSet& set, int32_t index) {
  return validIndex(set, index) && isCategorical(set.saved[index]) ? 1 : 0;
}

float associationScale(const AssociationSet& set, int32_t index) {
  return validIndex(set, index) ? set.saved[index].scale : 0.0f;
}

int32_t textToSerie(const DataTable& table, char* text) {
  if (text == nullptr) return -1;
  for (int32_t f = 0; f < table.fieldCount; ++f) {
    if (std::strcmp(text, table.fields[static_cast<size_t>(f)].name) == 0) return f;
  }
  for (char* c = text; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  for (int32_t f = 0; f < table.fieldCount; ++f) {
    if (equalsUpperCased(text, table.fields[static_cast<size_t>(f)].name)) return f;
  }
  return -1;
}

int32_t objectToAttribute(int32_t name, int32_t selectedObjectType, int32_t selectedObjectIndex) {
  if (name >= 2000000100 && name <= 2000000200) return name - 2000000100;
  switch (name) {
    case 2000000011: case 2000000012: case 2000000017: case 2000000018: return ATTRIB_AXISX;
    case 2000000013: case 2000000014: case 2000000019: case 2000000020: return ATTRIB_AXISY;
    case 2000000015: case 2000000016: case 2000000021: case 2000000022: return ATTRIB_AXISZ;
    case 2000000201: case 2000000202: case 2000000210: case 2000000213: case 2000000214:
      return selectedObjectType == 2 ? selectedObjectIndex : ATTRIB_NO;
    default: return ATTRIB_NO;
  }
}

int32_t objectToField(const AssociationSet& set, int32_t name, int32_t selectedObjectType,
                      int32_t selectedObjectIndex) {
  return attributeToField(set, objectToAttribute(name, selectedObjectType, selectedObjectIndex));
}

int32_t isSomethingToDelete(int32_t selectedObjectType, int32_t selectedCount) {
  return selectedObjectType != 3 && (selectedObjectType == 2 || selectedCount > 0) ? 1 : 0;
}

}  // namespace vlm
