// The bundled sample tables load with the field types they hold.
#include <gtest/gtest.h>

#include <string>

#include "engine/vlmapi.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

class SampleFilesTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    start();
  }
  bool open(const std::string& name) {
    const std::string path = std::string(QT_TESTCASE_SOURCEDIR) + "/../assets/samples/" + name;
    return request([&] { vlm_OpenFile(path.c_str(), 0); });
  }
  int field(const char* name) {
    for (int f = 0; f < table().fieldCount; ++f)
      if (std::string(table().fields[f].name) == name) return f;
    return -1;
  }
};

TEST_F(SampleFilesTest, Cars) {
  ASSERT_TRUE(open("cars.tsv"));
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(table().rowCount, 406);
  EXPECT_EQ(table().fieldCount, 9);
  EXPECT_EQ(table().sourceName, "cars.tsv");
  EXPECT_EQ(table().fields[field("Name")].type, FT_TEXT);
  EXPECT_EQ(table().fields[field("Origin")].type, FT_TEXT);
  EXPECT_EQ(table().fields[field("Cylinders")].type, FT_INTEGER);
  EXPECT_EQ(table().fields[field("Weight_in_lbs")].type, FT_INTEGER);
  EXPECT_EQ(table().fields[field("Acceleration")].type, FT_REAL);
  EXPECT_EQ(table().fields[field("Miles_per_Gallon")].type, FT_REAL);
  EXPECT_EQ(table().fields[field("Year")].type, FT_DATETIME);
  EXPECT_EQ(table().fields[field("Origin")].distinctCount, 3);
  EXPECT_EQ(table().fields[field("Year")].distinctCount, 12);
}

TEST_F(SampleFilesTest, SeattleWeather) {
  ASSERT_TRUE(open("seattle-weather.tsv"));
  EXPECT_EQ(table().rowCount, 1461);
  EXPECT_EQ(table().fields[field("date")].type, FT_DATETIME);
  EXPECT_EQ(table().fields[field("date")].distinctCount, 1461);
  EXPECT_EQ(table().fields[field("temp_max")].type, FT_REAL);
  EXPECT_EQ(table().fields[field("weather")].type, FT_TEXT);
}

}  // namespace
}  // namespace vlm
