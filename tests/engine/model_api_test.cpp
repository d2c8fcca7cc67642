#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "data/distinct_values.h"
#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/pass_reader.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"
#include "model/color_lookup.h"
#include "model/normalise.h"

namespace vlm {
namespace {

class ModelApiTest : public test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_TRUE(init());
    state_ = currentState();
    test::loadTable(*state_, {{"a", {"1", "2", "3"}}, {"b", {"x", "y", "x"}}, {"c", {"1.5", "2.5", "9"}}});
  }
  std::shared_ptr<EngineState> state_;
};

TEST_F(ModelApiTest, ReassociationMovesToTheEndAndKeepsTheScale) {
  vlm_AssociateField(0, 0, ATTRIB_SIZE, 80, 0);
  vlm_AssociateField(2, 0, ATTRIB_COLOR, -1, 0);
  ASSERT_EQ(vlm_GetNumberOfAssociations(), 2);
  EXPECT_EQ(vlm_AttributeToAssociation(ATTRIB_SIZE), 0);
  vlm_AssociateField(2, 0, ATTRIB_SIZE, -1, 0);
  EXPECT_EQ(vlm_AttributeToAssociation(ATTRIB_SIZE), 1);
  EXPECT_FLOAT_EQ(vlm_GetAssociationScale(1), 80.0f);
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_SIZE), 2);
  EXPECT_EQ(vlm_IsSaved(), 0);
}

TEST_F(ModelApiTest, FieldlessLabelsAndTexturesAreRefused) {
  vlm_AssociateField(-1, 0, ATTRIB_LABEL, -1, 0);
  vlm_AssociateField(-1, 0, ATTRIB_TEXTURE, -1, 0);
  EXPECT_EQ(vlm_GetNumberOfAssociations(), 0);
  vlm_AssociateField(1, 0, ATTRIB_LABEL, -1, 0);
  EXPECT_EQ(vlm_GetNumberOfAssociations(), 1);
  EXPECT_EQ(vlm_GetAssociationMapping(0), 1);  // text fields are categorical
}

TEST_F(ModelApiTest, RotateWrapsAndDeleteRemoves) {
  vlm_AssociateField(2, 0, ATTRIB_AXISX, -1, 0);
  vlm_RotateField(ATTRIB_AXISX);
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISX), 0);
  vlm_DeleteField(ATTRIB_AXISX);
  EXPECT_EQ(vlm_AttributeToAssociation(ATTRIB_AXISX), -1);
  EXPECT_EQ(vlm_DeleteAssociation(-1), 0);
}

TEST_F(ModelApiTest, TextFormsRoundTrip) {
  char buf[1024];
  vlm_AttributeToIDText(ATTRIB_SPEECH, buf);
  EXPECT_STREQ(buf, "ATTRIB_JITTER");
  vlm_AttributeToIDText(ATTRIB_JITTER, buf);
  EXPECT_STREQ(buf, "ATTRIB_ANIM");
  EXPECT_EQ(vlm_AttributeToIDText(ATTRIB_SOUND_VOLUME, buf), 46);
  vlm_AttributeToText(ATTRIB_BASE, buf);
  EXPECT_STREQ(buf, "Base Size");
  char id[] = "attrib_jitter";
  EXPECT_EQ(vlm_TextToAttribute(id), ATTRIB_SPEECH);
  vlm_OptionsToText(0x12, buf);
  EXPECT_STREQ(buf, "MAP_LOGN | MAP_INVERSE");
  EXPECT_EQ(vlm_TextToOptions(buf), 0x12);
  char none[] = "nothing here";
  EXPECT_EQ(vlm_TextToOptions(none), 0);
  char field[] = "B";
  EXPECT_EQ(vlm_TextToSerie(field), 1);
}

TEST_F(ModelApiTest, ColourReferences) {
  EXPECT_EQ(vlm_RgbToColorref(1.0f, 0.5f, 0.0f), 0x7FFFu);
  const uint32_t ref = 0x0000FF80;
  float rgba[4];
  vlm_ColorrefToRgba(&ref, 0.25f, rgba);
  EXPECT_NEAR(rgba[0], 128 / 255.0f, 1e-4);
  EXPECT_NEAR(rgba[1], 1.0f, 1e-4);
  EXPECT_NEAR(rgba[2], 0.0f, 1e-6);
  EXPECT_FLOAT_EQ(rgba[3], 0.25f);
}

TEST_F(ModelApiTest, ObjectNamesMapToAttributes) {
  EXPECT_EQ(vlm_ObjectToAttribute(2000000013), ATTRIB_AXISY);
  EXPECT_EQ(vlm_ObjectToAttribute(2000000100 + ATTRIB_SHAPE), ATTRIB_SHAPE);
  EXPECT_EQ(vlm_ObjectToAttribute(2000000201), ATTRIB_NO);
  state_->main->input.selectedObjectType = 2;
  state_->main->input.selectedObjectIndex = ATTRIB_HEIGHT;
  EXPECT_EQ(vlm_ObjectToAttribute(2000000201), ATTRIB_HEIGHT);
  vlm_AssociateField(0, 0, ATTRIB_HEIGHT, -1, 0);
  EXPECT_EQ(vlm_ObjectToField(2000000214), 0);
  EXPECT_NE(vlm_IsSomethingToDelete(), 0);
}

TEST_F(ModelApiTest, AssociatingWaitsForTheDataLock) {
  state_->main->dataLock.acquire();
  std::atomic<bool> done{false};
  std::thread caller([&] {
    vlm_AssociateField(0, 0, ATTRIB_SIZE, -1, 0);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done.load());
  EXPECT_EQ(vlm_GetNumberOfAssociations(), 0);
  state_->main->dataLock.release();
  caller.join();
  EXPECT_TRUE(done.load());
  EXPECT_EQ(vlm_GetNumberOfAssociations(), 1);
  EXPECT_TRUE(state_->main->dataLock.isFree());
}

TEST_F(ModelApiTest, DefaultColourSchemesWriteTheSpaceSettings) {
  EXPECT_EQ(vlm_SetDefaultColorModel(1), 0);  // no engine thread to post to
  EXPECT_EQ(state_->view->space.rows[0].colorref, 0x000000u);
  vlm_SetDefaultColorModel(2);
  EXPECT_EQ(state_->view->space.rows[0].colorref, 0xFFFFFFu);
}

// A rebuild's normalisation, as the engine thread runs it.
void normalise(EngineState& state) {
  platform::DataLockGuard guard(state.main->dataLock);
  ModelContext ctx = modelContext(state);
  normaliseAssociationsLocked(ctx);
}

TEST_F(ModelApiTest, APassRecordReadsFromC) {
  vlm_AssociateField(2, 0, ATTRIB_SIZE, -1, 0);
  normalise(*state_);
  float value = -1, low = -1, high = -1;
  int field = -1;
  ASSERT_EQ(vlmTestReadPass(ATTRIB_SIZE, 2, &value, &low, &high, &field), 1);
  EXPECT_FLOAT_EQ(value, 1.0f);  // 9 is the maximum
  EXPECT_FLOAT_EQ(low, 1.5f);
  EXPECT_FLOAT_EQ(high, 9.0f);
  EXPECT_EQ(field, 2);
  ASSERT_EQ(vlmTestReadPass(ATTRIB_SIZE, 0, &value, &low, &high, &field), 1);
  EXPECT_FLOAT_EQ(value, 0.0f);
  const auto* pass = static_cast<const vlm_pass*>(vlm_AttributeToPass(ATTRIB_SIZE));
  const auto* saved = static_cast<const vlm_pass*>(vlm_AttributeToPassSaved(ATTRIB_SIZE));
  ASSERT_NE(pass, nullptr);
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(pass->values, saved->values);  // one array, shared
  EXPECT_STREQ(pass->fieldName, "c");
  EXPECT_EQ(vlmTestReadPass(ATTRIB_COLOR, 0, &value, &low, &high, &field), 0);
}

TEST_F(ModelApiTest, ACategoricalIntegerColourFieldColoursEachCategory) {
  test::loadTable(*state_, {{"n", {"100", "200", "300", "200"}}});
  {
    platform::DataLockGuard guard(state_->main->dataLock);
    buildAllDistinctValues(*state_->data);  // as every load ends
  }
  vlm_AssociateField(0, 1, ATTRIB_COLOR, -1, 0);
  ASSERT_EQ(vlm_GetAssociationMapping(0), 1);
  normalise(*state_);
  const ColorModel& colour = state_->view->colorModel;
  EXPECT_FLOAT_EQ(colour.valueMin, 0.0f);
  EXPECT_FLOAT_EQ(colour.valueMax, 2.0f);
  const auto* pass = static_cast<const vlm_pass*>(vlm_AttributeToPass(ATTRIB_COLOR));
  ASSERT_NE(pass, nullptr);
  const float t[4] = {pass->values[0], pass->values[1], pass->values[2], pass->values[3]};
  EXPECT_FLOAT_EQ(t[0], 0.0f);
  EXPECT_FLOAT_EQ(t[1], 0.5f);
  EXPECT_FLOAT_EQ(t[2], 1.0f);
  EXPECT_FLOAT_EQ(t[3], 0.5f);
  float a[3] = {}, b[3] = {}, c[3] = {};
  ASSERT_TRUE(colourOfValue(colour, t[0], a));
  ASSERT_TRUE(colourOfValue(colour, t[1], b));
  ASSERT_TRUE(colourOfValue(colour, t[2], c));
  EXPECT_TRUE(a[0] != b[0] || a[1] != b[1] || a[2] != b[2]);
  EXPECT_TRUE(b[0] != c[0] || b[1] != c[1] || b[2] != c[2]);
}

TEST_F(ModelApiTest, ColourEntriesSurviveRebuildsWhereCommaIsTheDecimalSeparator) {
  state_->main->regional.decimalSeparator = ',';
  state_->main->regional.decimalSeparatorKnown = true;
  test::loadTable(*state_, {{"n", {"0", "2500", "5000", "10000"}}});
  vlm_AssociateField(0, 0, ATTRIB_COLOR, -1, 0);
  for (int rebuild = 0; rebuild < 3; ++rebuild) {
    normalise(*state_);
    const ColorModel& colour = state_->view->colorModel;
    ASSERT_GE(colour.entries.size(), 2u);
    EXPECT_FLOAT_EQ(colour.valueMax, 10000.0f) << rebuild;
    EXPECT_EQ(colour.entries.back().value.i, 10000) << colour.entries.back().valueText;
    EXPECT_FLOAT_EQ(colour.entries.back().position, 1.0f);
    // The entries keep their places: 5000 lies between the second and the third.
    EXPECT_GT(colour.entries[1].value.i, 1000) << colour.entries[1].valueText;
  }
}

}  // namespace
}  // namespace vlm
