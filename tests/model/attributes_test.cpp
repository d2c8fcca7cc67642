#include "model/attributes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "model/association.h"
#include "model/mapping_options.h"

namespace vlm {
namespace {

TEST(AttributeTables, DisplayNames) {
  EXPECT_STREQ(attributeDisplayName(ATTRIB_NO), "");
  EXPECT_STREQ(attributeDisplayName(ATTRIB_COLOR), "Color");
  EXPECT_STREQ(attributeDisplayName(ATTRIB_BASE), "Base Size");
  EXPECT_STREQ(attributeDisplayName(ATTRIB_LABEL), "Labels");
  EXPECT_STREQ(attributeDisplayName(ATTRIB_SOUND_FREQ), "Sound Freq.");
  EXPECT_STREQ(attributeDisplayName(ATTRIB_SOUND_VOLUME), "Sound Volume");
  EXPECT_STREQ(attributeDisplayName(ATTRIB_SPEECH), "Speech");
  EXPECT_STREQ(attributeDisplayName(ATTRIB_JITTER), "Jitter");
  EXPECT_STREQ(attributeDisplayName(21), "");
  EXPECT_STREQ(attributeDisplayName(-1), "");
}

TEST(AttributeTables, IdentifierTextsOfTheLastThreeIdsAreTheStoredOnes) {
  EXPECT_STREQ(attributeIdText(ATTRIB_SPEECH), "ATTRIB_JITTER");
  EXPECT_STREQ(attributeIdText(ATTRIB_JITTER), "ATTRIB_ANIM");
  const std::string volume = attributeIdText(ATTRIB_SOUND_VOLUME);
  EXPECT_EQ(volume, "ATTRIB_SOUND_VOLUMEATTRIB_SPEECHATTRIB_JITTER");
  EXPECT_EQ(volume.size(), 45u);
  EXPECT_STREQ(attributeIdText(ATTRIB_AXISZ), "ATTRIB_AXISZ");
}

TEST(AttributeTables, ModelFileTextsRestoreSpeechAndJitter) {
  char speech[] = "ATTRIB_JITTER";
  EXPECT_EQ(textToAttribute(speech), ATTRIB_SPEECH);
  char jitter[] = "attrib_anim";
  EXPECT_EQ(textToAttribute(jitter), ATTRIB_JITTER);
  EXPECT_STREQ(jitter, "ATTRIB_ANIM");  // upper-cased in place
}

TEST(AttributeTables, EveryIdentifierTextReadsBackInAnyCase) {
  for (int32_t id = 0; id < kAttributeCount; ++id) {
    std::string lower = attributeIdText(id);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(textToAttribute(lower.data()), id) << id;
  }
}

TEST(AttributeTables, MixedCaseDisplayNamesNeverMatchButEmptyIsNo) {
  char color[] = "Color";
  EXPECT_EQ(textToAttribute(color), ATTRIB_NO);
  char empty[] = "";
  EXPECT_EQ(textToAttribute(empty), ATTRIB_NO);
  char unknown[] = "ATTRIB_WHATEVER";
  EXPECT_EQ(textToAttribute(unknown), ATTRIB_NO);
}

TEST(AttributeTables, DefaultScales) {
  EXPECT_EQ(defaultAttributeScale(ATTRIB_SIZE, false), 10.0f);
  EXPECT_EQ(defaultAttributeScale(ATTRIB_SIZE, true), 50.0f);
  EXPECT_EQ(defaultAttributeScale(ATTRIB_HEIGHT, true), 100.0f);
  EXPECT_EQ(defaultAttributeScale(ATTRIB_ROTY, false), 0.0f);
  EXPECT_EQ(defaultAttributeScale(ATTRIB_OPACITY, false), 100.0f);
  EXPECT_EQ(defaultAttributeScale(ATTRIB_OPACITY, true), 50.0f);
  EXPECT_EQ(defaultAttributeScale(ATTRIB_JITTER, false), 0.0f);
  EXPECT_EQ(defaultAttributeScale(ATTRIB_AXISX, false), 50.0f);
}

TEST(MappingOptionsText, LognInverseJoinedBySeparator) {
  EXPECT_EQ(optionsToText(0x12), "MAP_LOGN | MAP_INVERSE");
  EXPECT_EQ(optionsToText(0), "");
  EXPECT_EQ(optionsToText(MAP_LINEAR), "MAP_LINEAR");
  EXPECT_EQ(optionsToText(0x37), "MAP_LINEAR | MAP_LOGN | MAP_EXP | MAP_INVERSE | MAP_POSITIVE");
}

TEST(MappingOptionsText, ReadsBackInAnyCase) {
  for (int bits : {0x01, 0x12, 0x14, 0x20, 0x37, 0x06}) {
    std::string text = optionsToText(static_cast<uint8_t>(bits));
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(textToOptions(text.data()), bits) << text;
  }
  char shortForm[] = "logn inv";
  EXPECT_EQ(textToOptions(shortForm), 0x12);
  EXPECT_STREQ(shortForm, "LOGN INV");
  char nothing[] = "square root";
  EXPECT_EQ(textToOptions(nothing), 0);
}

}  // namespace
}  // namespace vlm
