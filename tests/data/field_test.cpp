#include <cfloat>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/source_types.h"
#include "data/table_getters.h"
#include "data/table_growth.h"

namespace vlm {
namespace {

TEST(FieldName, EmptyNameBecomesItsColumnNumber) {
  DataField f;
  setFieldName(f, "", 7);
  EXPECT_STREQ(f.name, "(Column7)");
  setFieldName(f, "Sales", 1);
  EXPECT_STREQ(f.name, "Sales");
}

TEST(FieldName, LongNamesAreCutTo1027BytesAtACharacterBoundary) {
  DataField f;
  setFieldName(f, std::string(2000, 'x'), 1);
  EXPECT_EQ(std::strlen(f.name), 1027u);
  // 1026 ASCII bytes, then a two-byte character that would end at byte 1028.
  std::string name(1026, 'a');
  name += "é";
  setFieldName(f, name, 1);
  EXPECT_EQ(std::strlen(f.name), 1026u);
  name = std::string(1025, 'a') + "é";  // ends exactly at 1027
  setFieldName(f, name, 1);
  EXPECT_EQ(std::string(f.name), name);
}

TEST(FieldName, CopyingReturnsLengthPlusOneAndFitsTheCallersBuffer) {
  DataTable table;
  setFieldName(table.fields[0], "Region", 1);
  char buffer[1024];
  EXPECT_EQ(copyFieldName(table, 0, buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "Region");
  // A 1027-character name does not fit a 1024-byte buffer.
  std::string name(1024, 'b');
  name += "€";  // three bytes: 1027 in all
  setFieldName(table.fields[1], name, 2);
  std::memset(buffer, 'Z', sizeof buffer);
  EXPECT_EQ(copyFieldName(table, 1, buffer, sizeof buffer), 1024);
  EXPECT_EQ(std::strlen(buffer), 1023u);
  std::string two = std::string(1022, 'c') + "é";  // 1024 bytes; é would straddle the end
  setFieldName(table.fields[2], two, 3);
  EXPECT_EQ(copyFieldName(table, 2, buffer, sizeof buffer), 1023);
  EXPECT_EQ(std::string(buffer), std::string(1022, 'c'));
  EXPECT_EQ(copyFieldName(table, -1, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "");
}

void dirty(DataField& f) {
  f.workingValue = 9;
  std::strcpy(f.selectorText, "query");
  f.selectorWord = 4;
  for (int32_t& w : f.workingIndex) w = 3;
  f.workingFlag = 0xFF;
}

void expectWorkingReset(const DataField& f) {
  EXPECT_EQ(f.workingValue, 2);
  EXPECT_STREQ(f.selectorText, "");
  EXPECT_EQ(f.selectorWord, 0);
  for (int32_t w : f.workingIndex) EXPECT_EQ(w, -1);
  EXPECT_EQ(f.workingFlag, 0xFE);
}

TEST(FieldAnalysis, ResetGivesTheStartValuesOfEachType) {
  for (uint8_t type : {FT_NONE, FT_INTEGER}) {
    DataField f;
    f.type = type;
    dirty(f);
    resetFieldAnalysis(f);
    EXPECT_EQ(f.min.i, INT32_MAX);
    EXPECT_EQ(f.max.i, INT32_MIN);
    EXPECT_EQ(f.selectorLow.i, INT32_MAX);
    EXPECT_EQ(f.selectorHigh.i, INT32_MIN);
    EXPECT_EQ(f.valueClass, 1);
    expectWorkingReset(f);
  }
  {
    DataField f;
    f.type = FT_REAL;
    dirty(f);
    resetFieldAnalysis(f);
    EXPECT_EQ(f.min.f, FLT_MAX);
    EXPECT_EQ(f.max.f, -FLT_MAX);
    EXPECT_EQ(f.selectorLow.f, FLT_MAX);
    EXPECT_EQ(f.selectorHigh.f, -FLT_MAX);
    EXPECT_EQ(f.valueClass, 1);
    expectWorkingReset(f);
  }
  for (uint8_t type : {FT_BOOLEAN, FT_FLAG, FT_SIZE}) {
    DataField f;
    f.type = type;
    resetFieldAnalysis(f);
    EXPECT_EQ(f.min.i, INT32_MAX);
    EXPECT_EQ(f.selectorHigh.i, INT32_MIN);
    EXPECT_EQ(f.valueClass, 2);
  }
  for (uint8_t type : {FT_TEXT, FT_DATETIME, FT_TEXT2}) {
    DataField f;
    f.type = type;
    dirty(f);
    resetFieldAnalysis(f);
    EXPECT_EQ(f.min.i, INT32_MAX);
    EXPECT_EQ(f.max.i, INT32_MIN);
    EXPECT_EQ(f.selectorLow.i, -6);
    EXPECT_EQ(f.selectorHigh.i, -6);
    EXPECT_EQ(f.valueClass, 3);
    expectWorkingReset(f);
  }
}

TEST(FieldAnalysis, TypesAbove8AreLeftUntouched) {
  DataField f;
  f.type = 9;
  dirty(f);
  f.min.i = 5;
  f.valueClass = 7;
  resetFieldAnalysis(f);
  EXPECT_EQ(f.min.i, 5);
  EXPECT_EQ(f.valueClass, 7);
  EXPECT_EQ(f.workingValue, 9);
}

TEST(FieldAnalysis, AnalysisClassGivesTheType) {
  const std::pair<uint8_t, uint8_t> cases[] = {{AC_NONE, FT_NONE},         {AC_TEXT, FT_TEXT},
                                               {AC_INTEGER, FT_INTEGER},   {AC_REAL, FT_REAL},
                                               {AC_DATETIME, FT_DATETIME}, {AC_FREE, FT_NONE}};
  for (auto [cls, type] : cases) {
    DataField f;
    f.analysisClass = cls;
    applyAnalysisClass(f);
    EXPECT_EQ(f.type, type) << int(cls);
  }
}

TEST(SourceTypes, EveryColumnOfTheMapping) {
  struct Row {
    int32_t code;
    uint8_t access, odbc, other;
  };
  const Row rows[] = {
      {-8, 0, 0, 0},
      {-7, 0, FT_INTEGER, 0},
      {-6, 0, FT_INTEGER, 0},
      {-5, 0, FT_INTEGER, 0},
      {-4, 0, FT_FLAG, 0},
      {-3, 0, FT_FLAG, 0},
      {-2, 0, FT_FLAG, 0},
      {-1, 0, FT_TEXT, 0},
      {0, 0, 0, 0},
      {1, FT_INTEGER, FT_TEXT, FT_TEXT},
      {2, FT_INTEGER, FT_INTEGER, FT_TEXT},
      {3, FT_INTEGER, FT_INTEGER, FT_INTEGER},
      {4, FT_INTEGER, FT_INTEGER, FT_REAL},
      {5, FT_REAL, FT_INTEGER, 0},
      {6, FT_REAL, FT_REAL, FT_DATETIME},
      {7, FT_REAL, FT_REAL, 0},
      {8, FT_DATETIME, FT_REAL, FT_INTEGER},
      {9, FT_TEXT, FT_DATETIME, 0},
      {10, FT_TEXT, FT_DATETIME, 0},
      {11, FT_TEXT, FT_DATETIME, FT_TEXT},
      {12, FT_TEXT, FT_TEXT, FT_SIZE},
      {13, 0, 0, 0},
      {255, 0, 0, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(fieldTypeFromSourceCode(DSK_ACCESS, r.code), r.access) << r.code;
    EXPECT_EQ(fieldTypeFromSourceCode(DSK_ODBC, r.code), r.odbc) << r.code;
    for (int32_t kind : {int32_t(DSK_NONE), int32_t(DSK_EXCEL), int32_t(DSK_CLIPBOARD), int32_t(17)})
      EXPECT_EQ(fieldTypeFromSourceCode(kind, r.code), r.other) << r.code << " kind " << kind;
  }
}

TEST(TableGetters, RowIndexUsesRowIdsOnlyForExcelAndAccess) {
  DataTable table;
  table.fieldCount = 1;
  ASSERT_TRUE(growRows(table, 10));
  table.rowIds[7] = 4711;
  EXPECT_EQ(rowIndex(table, DSK_CLIPBOARD, 7), 7);
  EXPECT_EQ(rowIndex(table, DSK_ODBC, 7), 7);
  EXPECT_EQ(rowIndex(table, DSK_NONE, 7), 7);
  EXPECT_EQ(rowIndex(table, DSK_ACCESS, 7), 4711);
  EXPECT_EQ(rowIndex(table, DSK_EXCEL, 7), 4711);
  EXPECT_EQ(rowIndex(table, DSK_EXCEL, 8), -1);  // a fresh id
  EXPECT_EQ(rowIndex(table, DSK_EXCEL, 5000), -1);
}

TEST(TableGetters, FieldCursorWalksTheFieldsOfTheSourceKindsThatHaveThem) {
  DataTable table;
  table.fieldCount = 3;
  int32_t cursor = -9;
  for (int32_t kind : {int32_t(DSK_EXCEL), int32_t(DSK_ACCESS), int32_t(DSK_CLIPBOARD)}) {
    table.sourceKind = kind;
    EXPECT_EQ(firstAvailableField(table, cursor), 0);
    EXPECT_EQ(nextAvailableField(table, cursor), 1);
    EXPECT_EQ(nextAvailableField(table, cursor), 2);
    EXPECT_EQ(nextAvailableField(table, cursor), -1);
    EXPECT_EQ(nextAvailableField(table, cursor), -1);
  }
  for (int32_t kind : {int32_t(DSK_ODBC), int32_t(DSK_NONE)}) {
    table.sourceKind = kind;
    EXPECT_EQ(firstAvailableField(table, cursor), -1);
    EXPECT_EQ(nextAvailableField(table, cursor), -1);
  }
  table.sourceKind = DSK_CLIPBOARD;
  table.fieldCount = 0;
  EXPECT_EQ(firstAvailableField(table, cursor), -1);
}

}  // namespace
}  // namespace vlm
