#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/association.h"
#include "model/model_file/grid_section.h"
#include "model/model_file/model_file_sections.h"
#include "model/model_file/model_file_values.h"
#include "model/space_settings_table.h"

namespace vlm {
namespace {

using platform::ProfileDocument;

// The keys of a section in the order the file holds them.
std::vector<std::string> keysOf(const ProfileDocument& doc, const std::string& section) {
  std::vector<std::string> keys;
  std::istringstream in(doc.serialise());
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    if (inside) keys.push_back(line.substr(0, line.find('=')));
  }
  return keys;
}

TEST(ModelFileValues, RealsAreTrimmedNumberTexts) {
  EXPECT_EQ(modelRealText(0.5f), "0.5");
  EXPECT_EQ(modelRealText(1.0f), "1");
  EXPECT_EQ(modelRealText(0.0f), "0");
  EXPECT_EQ(modelRealText(0.25f), "0.25");
  EXPECT_EQ(modelRealText(-0.75f), "-0.75");
}

TEST(ModelFileValues, RealsReadTheLeadingNumber) {
  EXPECT_FLOAT_EQ(readModelReal("0.5"), 0.5f);
  EXPECT_FLOAT_EQ(readModelReal("  0,25 "), 0.25f);  // written where "," was the decimal point
  EXPECT_FLOAT_EQ(readModelReal("-1.5e2x"), -150.0f);
  EXPECT_FLOAT_EQ(readModelReal(".5"), 0.5f);
  EXPECT_EQ(readModelReal("abc"), 0.0f);
  EXPECT_EQ(readModelReal(""), 0.0f);
  EXPECT_EQ(readModelReal("-"), 0.0f);
  EXPECT_EQ(readModelReal("1e999"), std::numeric_limits<float>::max());
  EXPECT_EQ(readModelReal("1e-999"), 0.0f);
  // What is written reads back as the same value.
  for (float v : {0.2f, 0.333333f, 0.7f, 1.0f / 255.0f, 128.0f / 255.0f, 3.5f}) EXPECT_EQ(readModelReal(modelRealText(v)), v) << v;
}

TEST(ModelFileValues, IntegersSwitchesAndKeywords) {
  EXPECT_EQ(readModelInteger("49.9"), 49);
  EXPECT_EQ(readModelInteger(" -12abc"), -12);
  EXPECT_EQ(readModelInteger("x12"), 0);
  EXPECT_EQ(readModelInteger("99999999999999999999"), 2147483647);
  EXPECT_EQ(readModelInteger("-99999999999999999999"), -2147483647 - 1);
  EXPECT_TRUE(readModelSwitch("1"));
  EXPECT_FALSE(readModelSwitch("2"));
  EXPECT_FALSE(readModelSwitch("-1"));
  EXPECT_FALSE(readModelSwitch("on"));
  EXPECT_EQ(findKeyword("average", {"PERCENT", "MIN", "MAX", "SUM", "AV"}), 4);
  EXPECT_EQ(findKeyword("Nothing", {"PERCENT", "MIN"}), -1);
}

TEST(ModelFileSections, ModelKeysInOrderAndAFieldlessAssociationHasNoFieldKey) {
  ProfileDocument doc = ProfileDocument::parse("[Model]\r\nMappings=9\r\nField8=Old\r\n");
  writeModelSection(doc, {{"Price", ATTRIB_COLOR, 49, MAP_LINEAR | MAP_INVERSE}, {"", ATTRIB_SIZE, 50, 0}});
  EXPECT_EQ(keysOf(doc, "Model"), (std::vector<std::string>{"Mappings", "Field0", "Attribute0", "Scale0", "Options0",
                                                             "Attribute1", "Scale1", "Options1"}));
  EXPECT_EQ(doc.get("Model", "Attribute0", ""), "ATTRIB_COLOR");
  EXPECT_EQ(doc.get("Model", "Options0", "x"), "MAP_LINEAR | MAP_INVERSE");
  EXPECT_EQ(doc.get("Model", "Options1", "x"), "");
  EXPECT_FALSE(doc.find("Model", "Field8"));  // the section was cleared first
}

TEST(ModelFileSections, ModelReadsAttributesScalesAndOptions) {
  const ProfileDocument doc = ProfileDocument::parse(
      "[Model]\nMappings=3\nField0=Price\nAttribute0=attrib_color\nScale0=49.9\nOptions0=map_logn | MAP_INVERSE\n"
      "Attribute1=ATTRIB_JITTER\nScale1=20\nField2=x\nAttribute2=NOT_AN_ATTRIBUTE\n");
  const auto m = readModelSection(doc);
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].field, "Price");
  EXPECT_EQ(m[0].attribute, ATTRIB_COLOR);
  EXPECT_EQ(m[0].scale, 49);
  EXPECT_EQ(m[0].options, MAP_LOGN | MAP_INVERSE);
  EXPECT_EQ(m[1].field, "");
  EXPECT_EQ(m[1].attribute, ATTRIB_SPEECH);  // the speech attribute's identifier text
  EXPECT_EQ(m[2].attribute, ATTRIB_NO);
  EXPECT_EQ(m[2].options, 0);
  // A damaged count asks for no more keys than a file could hold.
  EXPECT_LE(readModelSection(ProfileDocument::parse("[Model]\nMappings=2000000000\n")).size(), 1024u);
}

TEST(ModelFileSections, ColourRampTypeEntriesAndTheirLimit) {
  ProfileDocument doc;
  writeColourSection(doc, {1, {{"Low", 0.0f, 0.5f, 1.0f}, {"High", 1.0f, 0.25f, 0.0f}}});
  EXPECT_EQ(keysOf(doc, "Color"), (std::vector<std::string>{"RampType", "Entries", "Entry0V", "Entry0R", "Entry0G",
                                                             "Entry0B", "Entry1V", "Entry1R", "Entry1G", "Entry1B"}));
  EXPECT_EQ(doc.get("Color", "RampType", ""), "CATEGORICAL");
  const ModelFileColour c = readColourSection(doc);
  EXPECT_EQ(c.rampType, 1);
  ASSERT_EQ(c.entries.size(), 2u);
  EXPECT_EQ(c.entries[1].value, "High");
  EXPECT_FLOAT_EQ(c.entries[1].green, 0.25f);

  EXPECT_EQ(readColourSection(ProfileDocument::parse("[Color]\nRampType=continuous\n")).rampType, 2);
  EXPECT_EQ(readColourSection(ProfileDocument::parse("[Color]\nRampType=CONTINUOUS CATEGORICAL\n")).rampType, 1);
  EXPECT_EQ(readColourSection(ProfileDocument::parse("[Color]\n")).rampType, 2);
  const ModelFileColour many = readColourSection(ProfileDocument::parse("[Color]\nEntries=500\n"));
  EXPECT_EQ(many.entries.size(), 33u);
  EXPECT_EQ(many.entries[0].value, "0");  // missing keys read "0"
}

TEST(ModelFileSections, SelectorMethodsByPosition) {
  ProfileDocument doc;
  writeSelectorSection(doc, {0, 1, 2, 3, 4});
  EXPECT_EQ(doc.serialise(), "[Selector]\r\nMethod0=\r\nMethod1=RANGE\r\nMethod2=ITEM\r\nMethod3=SAMPLES\r\n"
                             "Method4=SUBSTRING\r\n");
  EXPECT_EQ(readSelectorSection(doc, 6), (std::vector<int32_t>{0, 1, 2, 3, 4, 0}));
  EXPECT_EQ(readSelectorSection(ProfileDocument::parse("[Selector]\nMethod0=sample\nMethod1=String\n"), 2),
            (std::vector<int32_t>{3, 4}));
}

TEST(ModelFileSections, CalculatorRowsFunctionsAndTheSpokenRow) {
  ProfileDocument doc;
  writeCalculatorSection(doc, {{{"", 0}, {"", 1}, {"Price", 5}}, 1});
  EXPECT_EQ(keysOf(doc, "Calculator"),
            (std::vector<std::string>{"Calculations", "Function0", "Function1", "Speak", "Field2", "Function2"}));
  EXPECT_EQ(doc.get("Calculator", "Function2", ""), "AVERAGE");
  const ModelFileCalculator c = readCalculatorSection(doc, true);
  ASSERT_EQ(c.rows.size(), 3u);
  EXPECT_EQ(c.rows[2].function, 5);
  EXPECT_EQ(c.rows[2].field, "Price");
  EXPECT_EQ(c.spoken, 1);
  EXPECT_EQ(readCalculatorSection(doc, false).spoken, -1);
  const ModelFileCalculator odd = readCalculatorSection(
      ProfileDocument::parse("[Calculator]\nCalculations=3\nFunction0=av\nFunction1=whatever\nFunction2=Max\n"), true);
  EXPECT_EQ(odd.rows[0].function, 5);
  EXPECT_EQ(odd.rows[1].function, 0);
  EXPECT_EQ(odd.rows[2].function, 3);
  EXPECT_EQ(odd.spoken, -1);
}

TEST(ModelFileSections, SetupEffectLanguageAndMatrix) {
  ProfileDocument doc;
  ModelFileSetup s;
  s.effectName = "Select";
  s.speechLanguageName = "Russian";
  s.matrix = {1, 0, 0, 0, 0.5f, -0.25f, 0, 0.25f, 0.5f};
  writeSetupSection(doc, s);
  EXPECT_EQ(keysOf(doc, "Setup"), (std::vector<std::string>{"SpeechLanguage", "Effect", "Matrix00", "Matrix01", "Matrix02",
                                                             "Matrix10", "Matrix11", "Matrix12", "Matrix20", "Matrix21",
                                                             "Matrix22"}));
  EXPECT_EQ(doc.get("Setup", "Effect", ""), "Select");
  EXPECT_EQ(doc.get("Setup", "SpeechLanguage", ""), "Russian");
  const ModelFileSetup back = readSetupSection(doc, true);
  EXPECT_EQ(back.effect, 4);
  EXPECT_EQ(back.speechLanguage, 9);
  EXPECT_EQ(back.matrix, s.matrix);
  EXPECT_FALSE(readSetupSection(doc, false).speechLanguage.has_value());
  // The two effects beyond the menu's six read as the first.
  for (const char* e : {"No", "Yes", "Blub", ""}) {
    EXPECT_EQ(readSetupSection(ProfileDocument::parse(std::string("[Setup]\nEffect=") + e), false).effect, 0) << e;
  }
  EXPECT_EQ(readSetupSection(ProfileDocument::parse("[Setup]\nEffect=clicx"), false).effect, 1);
  EXPECT_EQ(readSetupSection(ProfileDocument::parse("[Setup]\nSpeechLanguage=british english"), true).speechLanguage, 1);
}

class GridSectionTest : public ::testing::Test {
 protected:
  void SetUp() override { fillDefaultSpaceSettings(space); }
  SpaceSettings space;
};

TEST_F(GridSectionTest, KeysInTheFilesOrder) {
  ProfileDocument doc;
  writeGridSection(doc, {}, space);
  const std::vector<std::string> keys = keysOf(doc, "Grid");
  auto colour = [](const std::string& k) {
    return std::vector<std::string>{k + "R", k + "G", k + "B", k + "A"};
  };
  std::vector<std::string> expected = {"Labels", "AnimationMode", "Water"};
  for (const char* c : {"ColorSpace", "ColorLight", "ColorTextMenu"}) {
    auto g = colour(c);
    expected.insert(expected.end(), g.begin(), g.end());
  }
  expected.push_back("Axes");
  for (auto& k : colour("ColorAxes")) expected.push_back(k);
  for (const char* k : {"AxesWidth", "ArowType", "ArowSize", "X_Density", "Y_Density", "Z_Density", "Cube"})
    expected.push_back(k);
  const char* labels[3][2] = {{"Xlabels", "Ylabels"}, {"Xlabels", "Zlabels"}, {"Ylabels", "Zlabels"}};
  const char* axes[3] = {"X_", "Y_", "Z_"};
  for (int a = 0; a < 3; ++a) {
    const std::string p = axes[a];
    expected.push_back(p + "Lattice");
    for (auto& k : colour(p + "LatticeColor")) expected.push_back(k);
    expected.push_back(p + "LatticeWidth");
    expected.push_back(p + "Lattice" + labels[a][0]);
    expected.push_back(p + "Lattice" + labels[a][1]);
    expected.push_back(p + "Plane");
    for (auto& k : colour(p + "PlaneColor")) expected.push_back(k);
    for (const char* k : {"Texture", "TextureFile", "TextureU", "TextureV", "TextureS", "TextureT", "TextureR"})
      expected.push_back(p + k);
  }
  for (const char* k : {"LabelFont", "LabelFont_Size", "LabelFont_Bold", "LabelFont_Italic", "Label3D", "Label3D_Depth"})
    expected.push_back(k);
  for (auto& k : colour("LabelColor")) expected.push_back(k);
  expected.push_back("LabelColorByObject");
  for (auto& k : colour("WaterColor")) expected.push_back(k);
  expected.push_back("CenterInMass");
  expected.push_back("FieldOfView");
  EXPECT_EQ(keys, expected);
}

TEST_F(GridSectionTest, RowsRoundTrip) {
  space.rows[kRowAxes].value = 0;
  space.rows[kRowArrowType].value = 4;
  space.rows[densityRow(1)].value = 37;
  space.rows[latticeRow(1, kLatRotation)].value = 270;
  space.rows[latticeRow(2, kLatSecondLabels)].value = 0;
  setTransparency(space, latticeRow(0, kLatPlaneTransparency), 40);
  space.rows[kRowLabelColor].rgba[0] = 0.2f;
  space.rows[kRowLabelColor].alpha = 0.9f;
  space.rows[kRowLabelColor].rgba[3] = 0.9f;
  space.labelFont.face = "DejaVu Serif";
  space.labelFont.weight = 700;
  space.labelFont.italic = true;
  space.rows[kRowLabelFont].value = 140;
  space.axes[2].texturePath = "/pictures/floor.png";
  space.rows[kRowPerspective].value = 60;
  ProfileDocument doc;
  writeGridSection(doc, {2, 1, 1}, space);

  SpaceSettings back;
  fillDefaultSpaceSettings(back);
  const GridReadResult r = readGridSection(doc, back);
  EXPECT_EQ(r.switches.labels, 2);
  EXPECT_EQ(r.switches.animationMode, 1);
  EXPECT_EQ(r.switches.water, 1);
  for (int i = 0; i < kSpaceSettingCount; ++i) {
    const SpaceSetting& a = space.rows[static_cast<size_t>(i)];
    const SpaceSetting& b = back.rows[static_cast<size_t>(i)];
    if (i == kRowLabels || i == kRowStereo || i == kRowEyeOffset) continue;  // not in the file
    EXPECT_EQ(a.value, b.value) << i;
    EXPECT_EQ(a.colorref, b.colorref) << i;
    for (int c = 0; c < 4; ++c) EXPECT_EQ(a.rgba[c], b.rgba[c]) << i << " " << c;
    EXPECT_EQ(a.alpha, b.alpha) << i;
  }
  EXPECT_EQ(back.labelFont.face, "DejaVu Serif");
  EXPECT_EQ(back.rows[kRowLabelFont].text, "DejaVu Serif");
  EXPECT_EQ(back.labelFont.weight, 700);
  EXPECT_TRUE(back.labelFont.italic);
  EXPECT_EQ(back.labelFont.height, -14);
  EXPECT_FLOAT_EQ(back.rows[kRowLabelFont].secondary, 140 * 0.035f);
  EXPECT_EQ(r.texturePaths[2], "/pictures/floor.png");
  EXPECT_EQ(back.axes[2].texturePath, "/pictures/floor.png");
  EXPECT_EQ(r.texturePaths[0], "");
  // The colours the Grid takes over: text and menu, lattices, planes, labels, water.
  EXPECT_EQ(r.gridColourRows, (std::vector<int32_t>{2, 20, 26, 36, 42, 52, 58, 17, 67}));
}

TEST_F(GridSectionTest, TransparencyFollowsTheAlphaAndLabelsThreeReadsAsOff) {
  ProfileDocument doc = ProfileDocument::parse("[Grid]\nLabels=3\nColorAxesA=0.7\nWaterColorA=0.255\nColorSpaceA=0.5\n");
  const GridReadResult r = readGridSection(doc, space);
  EXPECT_EQ(r.switches.labels, 0);
  EXPECT_EQ(space.rows[kRowAxesTransparency].value, 30);
  EXPECT_EQ(space.rows[kRowWaterTransparency].value, 75);  // 100 - 25.5 + 0.5 = 75
  EXPECT_FLOAT_EQ(space.rows[kRowAxesColor].alpha, 0.7f);
  EXPECT_FLOAT_EQ(space.rows[kRowBackgroundColor].alpha, 0.5f);
  // Missing keys read "0": every switch off, every colour black.
  EXPECT_EQ(space.rows[kRowAxes].value, 0);
  EXPECT_EQ(space.rows[kRowLightColor].colorref, 0u);
  EXPECT_EQ(space.labelFont.face, "0");
}

}  // namespace
}  // namespace vlm

namespace vlm {
namespace {

// What the fuzz targets also throw at the reader, kept as fixed cases.
TEST(ModelFileDamage, TenThousandSectionsHugeLinesAndMissingKeysReadAsDefaults) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  text += "[Model]\r\nMappings=" + std::string(5000, '9') + "\r\nField0=" + std::string(100000, 'x') + "\r\n";
  text += "[Calculator]\r\nCalculations=-5\r\n[Color]\r\nEntries=" + std::string(300, '7') + "\r\n";
  const platform::ProfileDocument doc = platform::ProfileDocument::parse(text);
  EXPECT_EQ(doc.sectionCount(), 10003u);
  EXPECT_EQ(doc.get("S9999", "k", ""), "9999");
  const auto mappings = readModelSection(doc);
  EXPECT_EQ(mappings.size(), 1024u);  // a damaged count reads no further
  EXPECT_EQ(mappings[0].field.size(), 100000u);
  EXPECT_EQ(mappings[1].attribute, ATTRIB_NO);
  EXPECT_TRUE(readCalculatorSection(doc, true).rows.empty());
  EXPECT_EQ(readColourSection(doc).entries.size(), 33u);
  SpaceSettings space;
  fillDefaultSpaceSettings(space);
  const GridReadResult grid = readGridSection(doc, space);
  EXPECT_EQ(grid.switches.labels, 0);
  EXPECT_EQ(space.rows[kRowPerspective].value, 0);
}

}  // namespace
}  // namespace vlm
