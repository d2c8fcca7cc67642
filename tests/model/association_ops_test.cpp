#include "model/association_ops.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "model/association_lookup.h"
#include "model/attributes.h"
#include "model/support/model_world.h"

namespace vlm {
namespace {

using test::ModelWorld;

class AssociationOps : public ::testing::Test {
 protected:
  void SetUp() override {
    DataTable& t = *w.table;
    intField = test::addIntegerField(t, "Count", {3, 7, 5, std::nullopt});
    realField = test::addRealField(t, "Price", {1.5f, -2.0f, 4.0f, 0.5f});
    textField = test::addTextField(t, "Town", {"b", "a", "c", std::nullopt});
    untyped = test::addUntypedField(t, "Nothing");
    lastField = test::addIntegerField(t, "Last", {1, 2, 3, 4});
  }
  ModelWorld w;
  int32_t intField = 0, realField = 0, textField = 0, untyped = 0, lastField = 0;
};

TEST_F(AssociationOps, AssociatingFillsBothRecordsAndSharesValues) {
  auto ctx = w.ctx();
  ASSERT_EQ(associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, -1, 0), 1);
  ASSERT_EQ(w.set->count, 1);
  const Association& p = w.pass(0);
  const Association& s = w.savedPass(0);
  EXPECT_EQ(p.field, intField);
  EXPECT_STREQ(p.fieldName, "Count");
  EXPECT_EQ(p.fieldType, FT_INTEGER);
  EXPECT_EQ(attributeOf(p), ATTRIB_SIZE);
  EXPECT_EQ(p.flags & kAssocWritten, kAssocWritten);
  EXPECT_EQ(p.flags & 0x80, 0);
  EXPECT_FALSE(isCategorical(p));
  EXPECT_EQ(p.options, MAP_LINEAR);
  EXPECT_EQ(p.min, 3.0f);
  EXPECT_EQ(p.max, 7.0f);
  EXPECT_EQ(p.scale, 50.0f);
  ASSERT_TRUE(p.values);
  EXPECT_EQ(p.values, s.values);
  EXPECT_EQ(valueCount(p), 500u);
  EXPECT_EQ(w.saved.load(), 0);
}

TEST_F(AssociationOps, TextFieldsAreCategoricalByDefault) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, textField, 0, ATTRIB_SHAPE, -1, 0);
  EXPECT_TRUE(isCategorical(w.pass(0)));
  EXPECT_EQ(associationMapping(*w.set, 0), 1);
  EXPECT_EQ(w.pass(0).min, 0.0f);
  EXPECT_EQ(w.pass(0).max, 3.0f);  // three texts and the empty value
  // Bit 0 of a nonzero categorical argument is the flag.
  associateFieldLocked(ctx, textField, 2, ATTRIB_SHAPE, -1, 0);
  EXPECT_FALSE(isCategorical(w.pass(0)));
  associateFieldLocked(ctx, intField, 1, ATTRIB_SIZE, -1, 0);
  EXPECT_TRUE(isCategorical(w.pass(1)));
  EXPECT_EQ(w.pass(1).max, 3.0f);  // 3, 5, 7 and the empty value
}

TEST_F(AssociationOps, ReassociationMovesToTheEndAndKeepsTheScale) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, 80, 0);
  associateFieldLocked(ctx, realField, 0, ATTRIB_HEIGHT, -1, 0);
  associateFieldLocked(ctx, realField, 0, ATTRIB_SIZE, -1, 0);
  ASSERT_EQ(w.set->count, 2);
  EXPECT_EQ(attributeOf(w.savedPass(0)), ATTRIB_HEIGHT);
  EXPECT_EQ(attributeOf(w.savedPass(1)), ATTRIB_SIZE);
  EXPECT_EQ(w.savedPass(1).scale, 80.0f);
  EXPECT_EQ(w.savedPass(1).field, realField);
  // A passed scale wins.
  associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, 20, 0);
  EXPECT_EQ(w.savedPass(1).scale, 20.0f);
}

TEST_F(AssociationOps, AfterAFieldlessAssociationTheDefaultScaleWithAFieldApplies) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, -1, 0, ATTRIB_HEIGHT, -1, 0);
  EXPECT_EQ(w.savedPass(0).scale, 10.0f);
  EXPECT_EQ(w.savedPass(0).min, 0.0f);
  EXPECT_EQ(w.savedPass(0).max, 1.0f);
  EXPECT_EQ(w.savedPass(0).fieldName[0], '\0');
  associateFieldLocked(ctx, intField, 0, ATTRIB_HEIGHT, -1, 0);
  EXPECT_EQ(w.savedPass(0).scale, 100.0f);
}

TEST_F(AssociationOps, FieldlessAssociationsTakeTheDefaultOptions) {
  w.defaultOptions = MAP_LINEAR | MAP_INVERSE;
  auto ctx = w.ctx();
  associateFieldLocked(ctx, -1, 0, ATTRIB_SIZE, -1, MAP_LOGN);
  EXPECT_EQ(w.savedPass(0).options, MAP_LINEAR | MAP_INVERSE);
  associateFieldLocked(ctx, intField, 0, ATTRIB_HEIGHT, -1, 0);
  EXPECT_EQ(w.savedPass(1).options, MAP_LINEAR | MAP_INVERSE);
  associateFieldLocked(ctx, intField, 0, ATTRIB_BASE, -1, MAP_EXP);
  EXPECT_EQ(w.savedPass(2).options, MAP_EXP);
}

TEST_F(AssociationOps, RefusalsLeaveTheAttributeWithoutAssociation) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, intField, 0, ATTRIB_LABEL, -1, 0);
  associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, -1, 0);
  ASSERT_EQ(w.set->count, 2);
  EXPECT_EQ(associateFieldLocked(ctx, -1, 0, ATTRIB_LABEL, -1, 0), 0);
  EXPECT_EQ(associateFieldLocked(ctx, untyped, 0, ATTRIB_SIZE, -1, 0), 0);
  EXPECT_EQ(associateFieldLocked(ctx, -1, 0, ATTRIB_TEXTURE, -1, 0), 0);
  EXPECT_EQ(w.set->count, 0);
  EXPECT_EQ(associateFieldLocked(ctx, 99, 0, ATTRIB_SIZE, -1, 0), 0);
  EXPECT_EQ(associateFieldLocked(ctx, intField, 0, 21, -1, 0), 0);
}

TEST_F(AssociationOps, ValuesFollowTheRowCapacity) {
  test::setRows(*w.table, 501);
  auto ctx = w.ctx();
  associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, -1, 0);
  EXPECT_EQ(valueCount(w.pass(0)), 1000u);
}

TEST_F(AssociationOps, DeletingMovesLaterSlotsDownAndFreesValues) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, -1, 0);
  associateFieldLocked(ctx, realField, 0, ATTRIB_HEIGHT, -1, 0);
  associateFieldLocked(ctx, textField, 0, ATTRIB_SHAPE, -1, 0);
  std::weak_ptr<ValueArray> first = w.pass(0).valueStore;
  EXPECT_EQ(deleteAssociationLocked(ctx, -1), 0);
  EXPECT_EQ(deleteAssociationLocked(ctx, 3), 0);
  w.saved = 1;
  EXPECT_EQ(deleteAssociationLocked(ctx, 0), 1);
  EXPECT_EQ(w.saved.load(), 0);
  EXPECT_TRUE(first.expired());
  ASSERT_EQ(w.set->count, 2);
  EXPECT_EQ(attributeOf(w.savedPass(0)), ATTRIB_HEIGHT);
  EXPECT_EQ(attributeOf(w.pass(1)), ATTRIB_SHAPE);
  EXPECT_EQ(w.pass(0).values, w.savedPass(0).values);
  EXPECT_FALSE(w.pass(2).values);
}

TEST_F(AssociationOps, DeleteAllFreesEveryValuesArray) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, -1, 0);
  associateFieldLocked(ctx, realField, 0, ATTRIB_HEIGHT, -1, 0);
  std::weak_ptr<ValueArray> a = w.pass(0).valueStore, b = w.pass(1).valueStore;
  w.saved = 1;
  deleteAllAssociationsLocked(ctx);
  EXPECT_EQ(w.set->count, 0);
  EXPECT_EQ(w.saved.load(), 0);
  EXPECT_TRUE(a.expired());
  EXPECT_TRUE(b.expired());
  w.saved = 1;
  deleteAllAssociationsLocked(ctx);  // nothing to drop: stays saved
  EXPECT_EQ(w.saved.load(), 1);
}

TEST_F(AssociationOps, RotateWrapsAndSkipsUntypedFields) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, textField, 0, ATTRIB_AXISX, 70, 0);
  EXPECT_EQ(rotateFieldLocked(ctx, ATTRIB_AXISX), 1);
  EXPECT_EQ(attributeToField(*w.set, ATTRIB_AXISX), lastField);  // skipped "Nothing"
  EXPECT_EQ(w.savedPass(0).scale, 70.0f);
  rotateFieldLocked(ctx, ATTRIB_AXISX);
  EXPECT_EQ(attributeToField(*w.set, ATTRIB_AXISX), intField);  // wrapped to field 0
}

TEST_F(AssociationOps, RotateWithoutAssociationStartsAtTheFirstUsableField) {
  w.table->fields[0].type = FT_NONE;
  auto ctx = w.ctx();
  rotateFieldLocked(ctx, ATTRIB_SIZE);
  EXPECT_EQ(attributeToField(*w.set, ATTRIB_SIZE), realField);
  associateFieldLocked(ctx, -1, 0, ATTRIB_HEIGHT, -1, 0);
  rotateFieldLocked(ctx, ATTRIB_HEIGHT);
  EXPECT_EQ(attributeToField(*w.set, ATTRIB_HEIGHT), realField);
  EXPECT_EQ(attributeToAssociation(*w.set, ATTRIB_HEIGHT), 1);
  EXPECT_EQ(w.savedPass(1).scale, 100.0f);
}

TEST_F(AssociationOps, RotateAndDeleteFieldUseTheCurrentAttribute) {
  w.selectedObjectType = 2;
  w.selectedObjectIndex = ATTRIB_ROTX;
  auto ctx = w.ctx();
  rotateFieldLocked(ctx, 0);
  EXPECT_EQ(attributeToField(*w.set, ATTRIB_ROTX), intField);
  deleteFieldLocked(ctx, -1);
  EXPECT_EQ(attributeToAssociation(*w.set, ATTRIB_ROTX), -1);
  w.selectedObjectType = 1;
  auto other = w.ctx();
  EXPECT_EQ(rotateFieldLocked(other, 0), 0);
  EXPECT_EQ(w.set->count, 0);
}

TEST(AssociationOpsEmptyTable, DeleteFieldAndRotateDoNothingWithoutFields) {
  ModelWorld w;
  auto ctx = w.ctx();
  associateFieldLocked(ctx, -1, 0, ATTRIB_SIZE, -1, 0);
  deleteFieldLocked(ctx, ATTRIB_SIZE);
  EXPECT_EQ(w.set->count, 1);
  EXPECT_EQ(rotateFieldLocked(ctx, ATTRIB_SIZE), 0);
}

TEST_F(AssociationOps, SoundAndSpeechExcludeEachOther) {
  std::string spoken;
  w.hooks.speak = [&](const char* text) { spoken = text; };
  auto ctx = w.ctx();
  associateFieldLocked(ctx, intField, 0, ATTRIB_SOUND_FREQ, -1, 0);
  associateFieldLocked(ctx, realField, 0, ATTRIB_SOUND_VOLUME, -1, 0);
  associateFieldLocked(ctx, textField, 0, ATTRIB_SPEECH, -1, 0);
  EXPECT_EQ(spoken, "Town");
  ASSERT_EQ(w.set->count, 1);
  EXPECT_EQ(attributeOf(w.savedPass(0)), ATTRIB_SPEECH);
  associateFieldLocked(ctx, intField, 0, ATTRIB_SOUND_VOLUME, -1, 0);
  ASSERT_EQ(w.set->count, 1);
  EXPECT_EQ(attributeOf(w.savedPass(0)), ATTRIB_SOUND_VOLUME);
}

TEST_F(AssociationOps, TextureAndColourCompanions) {
  int32_t texturesFor = -2;
  w.hooks.createTextures = [&](int32_t field) { texturesFor = field; };
  auto ctx = w.ctx();
  associateFieldLocked(ctx, textField, 0, ATTRIB_TEXTURE, -1, 0);
  EXPECT_EQ(texturesFor, textField);
  w.colour.rampType = kRampCategorical;
  associateFieldLocked(ctx, realField, 0, ATTRIB_COLOR, -1, 0);
  ASSERT_EQ(w.colour.entries.size(), 4u);  // ramp 0, ramp type kept
  EXPECT_EQ(w.colour.rampType, kRampCategorical);
  EXPECT_EQ(w.colour.valueMin, -2.0f);
  EXPECT_EQ(w.colour.valueMax, 4.0f);
  EXPECT_EQ(w.savedColour.entries.size(), 4u);
}

TEST_F(AssociationOps, GrowthResizesEveryValuesArrayIncludingLabelsAndTextures) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, textField, 0, ATTRIB_LABEL, -1, 0);
  associateFieldLocked(ctx, textField, 0, ATTRIB_TEXTURE, -1, 0);
  associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, -1, 0);
  ASSERT_TRUE(growAssociationValues(*w.set, 1500));
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(valueCount(w.pass(i)), 1500u) << i;
    EXPECT_EQ(w.pass(i).values, w.savedPass(i).values) << i;
  }
}

TEST_F(AssociationOps, MappingAndScaleWriteBothRecords) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, intField, 0, ATTRIB_DIMX, -1, 0);
  setAssociationMappingLocked(ctx, 0, 3);
  EXPECT_TRUE(isCategorical(w.pass(0)));
  EXPECT_TRUE(isCategorical(w.savedPass(0)));
  EXPECT_EQ(attributeOf(w.savedPass(0)), ATTRIB_DIMX);
  setAssociationMappingLocked(ctx, 0, 2);
  EXPECT_EQ(associationMapping(*w.set, 0), 0);
  setAssociationScaleLocked(ctx, 0, 123.5f);
  EXPECT_EQ(w.pass(0).scale, 123.5f);
  EXPECT_EQ(associationScale(*w.set, 0), 123.5f);
  resetAssociationScaleLocked(ctx, 0);
  EXPECT_EQ(w.savedPass(0).scale, 50.0f);
  resetAssociationScaleLocked(ctx, -1);
  EXPECT_EQ(associationScale(*w.set, 5), 0.0f);
}

TEST_F(AssociationOps, Lookups) {
  auto ctx = w.ctx();
  associateFieldLocked(ctx, realField, 0, ATTRIB_AXISY, -1, 0);
  associateFieldLocked(ctx, -1, 0, ATTRIB_SIZE, -1, 0);
  EXPECT_EQ(attributeToAssociation(*w.set, ATTRIB_SIZE), 1);
  EXPECT_EQ(attributeToAssociation(*w.set, ATTRIB_COLOR), -1);
  EXPECT_EQ(attributeToField(*w.set, ATTRIB_AXISY), realField);
  EXPECT_EQ(attributeToField(*w.set, ATTRIB_SIZE), -1);
  EXPECT_EQ(attributeToDataField(*w.set, *w.table, ATTRIB_AXISY), &w.table->fields[1]);
  EXPECT_EQ(attributeToDataField(*w.set, *w.table, ATTRIB_SIZE), nullptr);
  EXPECT_EQ(attributeToPass(*w.set, ATTRIB_SIZE), &w.set->passes[1]);
  EXPECT_EQ(attributeToPassSaved(*w.set, ATTRIB_AXISY), &w.set->saved[0]);
  EXPECT_EQ(attributeToPass(*w.set, ATTRIB_COLOR), nullptr);

  EXPECT_EQ(objectToAttribute(2000000103, 0, 0), 3);
  EXPECT_EQ(objectToAttribute(2000000012, 0, 0), ATTRIB_AXISX);
  EXPECT_EQ(objectToAttribute(2000000019, 0, 0), ATTRIB_AXISY);
  EXPECT_EQ(objectToAttribute(2000000022, 0, 0), ATTRIB_AXISZ);
  EXPECT_EQ(objectToAttribute(2000000213, 2, ATTRIB_SIZE), ATTRIB_SIZE);
  EXPECT_EQ(objectToAttribute(2000000213, 1, ATTRIB_SIZE), ATTRIB_NO);
  EXPECT_EQ(objectToAttribute(42, 2, ATTRIB_SIZE), ATTRIB_NO);
  EXPECT_EQ(objectToField(*w.set, 2000000014, 0, 0), realField);
  EXPECT_EQ(objectToField(*w.set, 2000000011, 0, 0), -1);

  EXPECT_EQ(isSomethingToDelete(2, 0), 1);
  EXPECT_EQ(isSomethingToDelete(0, 3), 1);
  EXPECT_EQ(isSomethingToDelete(0, 0), 0);
  EXPECT_EQ(isSomethingToDelete(3, 3), 0);
}

TEST_F(AssociationOps, TextToSerieExactThenAnyCase) {
  char exact[] = "Price";
  EXPECT_EQ(textToSerie(*w.table, exact), realField);
  char lower[] = "town";
  EXPECT_EQ(textToSerie(*w.table, lower), textField);
  EXPECT_STREQ(lower, "TOWN");
  char none[] = "Village";
  EXPECT_EQ(textToSerie(*w.table, none), -1);
}

TEST_F(AssociationOps, AvailableFieldsOnlyForSpreadsheetDatabaseAndClipboard) {
  int32_t cursor = 7;
  EXPECT_EQ(firstAvailableField(*w.table, cursor), 0);
  for (int32_t i = 1; i < 5; ++i) EXPECT_EQ(nextAvailableField(*w.table, cursor), i);
  EXPECT_EQ(nextAvailableField(*w.table, cursor), -1);
  w.table->sourceKind = DSK_ODBC;
  EXPECT_EQ(firstAvailableField(*w.table, cursor), -1);
  EXPECT_EQ(nextAvailableField(*w.table, cursor), -1);
}

TEST_F(AssociationOps, LockingEntryPointsWaitForTheHolder) {
  platform::DataLock lock;
  ASSERT_TRUE(lock.acquire());
  auto ctx = w.ctx();
  // A caller that holds the lock uses the Locked variants without deadlocking.
  EXPECT_EQ(associateFieldLocked(ctx, intField, 0, ATTRIB_SIZE, -1, 0), 1);
  auto other = std::async(std::launch::async, [&] {
    auto c = w.ctx();
    return associateField(lock, c, realField, 0, ATTRIB_HEIGHT, -1, 0);
  });
  EXPECT_EQ(other.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  EXPECT_EQ(w.set->count, 1);
  lock.release();
  EXPECT_EQ(other.get(), 1);
  EXPECT_EQ(w.set->count, 2);
  EXPECT_TRUE(lock.isFree());
  EXPECT_EQ(deleteAssociation(lock, ctx, -1), 0);
  EXPECT_EQ(deleteAssociation(lock, ctx, 0), 1);
  rotateField(lock, ctx, ATTRIB_SIZE);
  deleteField(lock, ctx, ATTRIB_SIZE);
  deleteAllAssociations(lock, ctx);
  EXPECT_EQ(w.set->count, 0);
  EXPECT_TRUE(lock.isFree());
}

}  // namespace
}  // namespace vlm
