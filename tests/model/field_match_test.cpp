#include <gtest/gtest.h>

#include <cstring>

#include "model/field_match.h"

namespace vlm {
namespace {

void addField(DataTable& table, const char* name, uint8_t type) {
  DataField& f = table.fields[static_cast<size_t>(table.fieldCount++)];
  std::strcpy(f.name, name);
  f.type = type;
}

void associate(AssociationSet& set, int32_t field, const char* name, int32_t type) {
  Association& a = set.passes[static_cast<size_t>(set.count++)];
  a.field = field;
  std::strcpy(a.fieldName, name);
  a.fieldType = type;
}

TEST(FieldMatch, EmptyModelAnswersNo) {
  DataTable table;
  addField(table, "x", FT_INTEGER);
  EXPECT_FALSE(fieldNamesEqual(AssociationSet{}, table));
}

TEST(FieldMatch, SameNamesAndTypesAtTheirIndexes) {
  DataTable table;
  addField(table, "x", FT_INTEGER);
  addField(table, "y", FT_TEXT);
  AssociationSet set;
  associate(set, 1, "y", FT_TEXT);
  associate(set, -1, "", 0);  // an association without a field is not asked
  EXPECT_TRUE(fieldNamesEqual(set, table));
  set.passes[0].fieldType = FT_REAL;
  EXPECT_FALSE(fieldNamesEqual(set, table));
  set.passes[0].fieldType = FT_TEXT;
  std::strcpy(set.passes[0].fieldName, "Y");
  EXPECT_FALSE(fieldNamesEqual(set, table));
  set.passes[0].field = 5;
  EXPECT_FALSE(fieldNamesEqual(set, table));
}

}  // namespace
}  // namespace vlm
