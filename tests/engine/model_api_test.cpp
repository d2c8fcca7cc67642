#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"

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

}  // namespace
}  // namespace vlm
