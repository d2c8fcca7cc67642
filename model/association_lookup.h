#pragma once
// The field iterator (firstAvailableField, nextAvailableField) lives with the table.
#include "data/table_getters.h"
// Read-only questions about the associations of the model.
#include <cstdint>

#include "data/data_table.h"
#include "model/association.h"

namespace vlm {

// Association index of `attribute`, or -1.
int32_t attributeToAssociation(const AssociationSet& set, int32_t attribute);
// Field index of the attribute's association, or -1.
int32_t attributeToField(const AssociationSet& set, int32_t attribute);
// The data field of the attribute's association, or null without one or without a field.
const DataField* attributeToDataField(const AssociationSet& set, const DataTable& table,
                                      int32_t attribute);
Association* attributeToPass(AssociationSet& set, int32_t attribute);
Association* attributeToPassSaved(AssociationSet& set, int32_t attribute);
// The field record behind an association's field index, or null.
const DataField* associationField(const DataTable& table, int32_t field);

// The categorical flag of association `index` (0 for a bad index).
int32_t associationMapping(const AssociationSet& set, int32_t index);
float associationScale(const AssociationSet& set, int32_t index);

// Field index of the field named `text`: an exact comparison first, then one of the
// upper-cased texts (which upper-cases `text` in place); -1 when none matches.
int32_t textToSerie(const DataTable& table, char* text);


// The attribute a picked name stands for; the legend handles give the current
// attribute while the selected object type is 2.
int32_t objectToAttribute(int32_t name, int32_t selectedObjectType, int32_t selectedObjectIndex);
int32_t objectToField(const AssociationSet& set, int32_t name, int32_t selectedObjectType,
                      int32_t selectedObjectIndex);

// Nonzero when the selected object type is not 3 and either it is 2 or at least one
// object is selected.
int32_t isSomethingToDelete(int32_t selectedObjectType, int32_t selectedCount);

}  // namespace vlm
