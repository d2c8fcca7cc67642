// The popup menus as the user sees them: texts, ids, separators and submenus
// of the resource menus and of the run-time menus with their field items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/association.h"
#include "tools/menus/menu.h"
#include "tools/menus/menu_ids.h"
#include "tools/menus/menu_tables.h"

namespace vlm::tools {
namespace {

// One line per item: "text=id", "---" for a separator, "text>" then the
// submenu's lines indented by two blanks.
void dump(const std::vector<MenuItem>& items, const std::string& indent, std::vector<std::string>& out) {
  for (const MenuItem& i : items) {
    switch (i.kind) {
      case MenuItem::Kind::Separator: out.push_back(indent + "---"); break;
      case MenuItem::Kind::Submenu:
        out.push_back(indent + i.text + ">");
        dump(i.items, indent + "  ", out);
        break;
      case MenuItem::Kind::Command: out.push_back(indent + i.text + "=" + std::to_string(i.id)); break;
    }
  }
}

std::vector<std::string> lines(const Menu& m) {
  std::vector<std::string> out;
  dump(m.items, "", out);
  return out;
}

using Lines = std::vector<std::string>;

TEST(MenuTables, TheResourceSubmenusInTheirOrder) {
  struct Case {
    ResourceMenu which;
    const char* name;
    Lines items;
  };
  const Lines selector = {"Range Slider=61071", "Item Slider=61072", "Samples=61073", "Substring=61074", "---",
                          "All=61075",          "None=61076"};
  Lines samples = selector, items = selector;
  samples.insert(samples.end(), {"---", "Single=61078", "Multiple=61079"});
  items.insert(items.end(), {"---", "Play Slider=61081"});
  const Case cases[] = {
      {ResourceMenu::Space, "Space", {"Grid ...=61171", "Setup ...=61170"}},
      {ResourceMenu::Data, "Data", {"Go To=61130", "---", "Grid ...=61171", "Setup ...=61170"}},
      {ResourceMenu::Selector, "Selector", selector},
      {ResourceMenu::SelectorSamples, "SEL_Samples", samples},
      {ResourceMenu::SelectorItems, "SEL_Items", items},
      {ResourceMenu::ColourEntry, "CLR_Entry", {"Set &Color=61201", "Set &Value=61202", "---", "&Remove Point=61203"}},
      {ResourceMenu::DatabaseNode, "DB_Node", {"&Expand=61270", "&Collapse=61271"}},
      {ResourceMenu::DatabaseTable, "DB_Table", {"&Select Table=61272", "---", "&Expand=61270", "&Collapse=61271"}},
      {ResourceMenu::DatabaseQuery, "DB_Query", {"&Select Query=61272", "---", "&Expand=61270", "&Collapse=61271"}},
      {ResourceMenu::Grid, "Grid", {"Grid ...=61171", "Setup ...=61170", "Close Grid=40125"}},
  };
  for (const Case& c : cases) {
    const Menu m = resourceMenu(c.which);
    EXPECT_EQ(m.name, c.name);
    EXPECT_EQ(lines(m), c.items) << c.name;
  }
}

TEST(MenuTables, MappingMenusListTheFieldsAndTheOptions) {
  const std::vector<std::string> fields = {"Name", "Miles", "Weight"};
  const Lines mapping = {"Map Data>",        "  Name=61350", "  Miles=61351", "  Weight=61352",
                         "Linear=61093",     "Log N=61094",  "Exp=61095",     "---",
                         "Reverse=61096",    "Positive=61097", "&Reset            DEL=61091",
                         "&Rotate Field    TAB=61092"};
  EXPECT_EQ(lines(runtimeMenu(RuntimeMenu::Mapping, fields)), mapping);
  Lines axis = mapping;
  axis.insert(axis.end() - 2, {"Make Horizontal=61050", "Make Vertical=61051", "Scale Identical=61055"});
  EXPECT_EQ(lines(runtimeMenu(RuntimeMenu::AxisMapping, fields)), axis);
}

TEST(MenuTables, TheColourMenuOffersMappingsRampsAndPoints) {
  const Lines colour = {"Map Data>",
                        "  a=61350",
                        "Color Mapping>",
                        "  &Continuous=61205",
                        "  C&ategorical=61206",
                        "Color Ramps>",
                        "  &Spectrum=61211",
                        "  Spectrum &Inverted=61210",
                        "  &Blue - Red=61212",
                        "  Blue - Green=61213",
                        "  Blue - Yellow=61214",
                        "  &Red - Blue=61215",
                        "  Red - Green=61216",
                        "  Red - Yellow=61217",
                        "  &Green - Red=61218",
                        "  Green - Yellow=61219",
                        "  &Black - White=61220",
                        "  Black - Red=61221",
                        "  Black - Green=61222",
                        "Add &New Point=61200",
                        "&Reset=61091",
                        "&Rotate Field    TAB=61092"};
  EXPECT_EQ(lines(runtimeMenu(RuntimeMenu::Colour, {"a"})), colour);
}

TEST(MenuTables, LabelsSoundVoiceAndCalculatorMenus) {
  const Lines labels = {"a=61350",          "b=61351",        "---",       "&Font && Size=61281", "&3D=61284",
                        "3D &Depth>",       "  &0=61286",     "  &1=61287", "  &2=61288",          "  &3=61289",
                        "  &4=61290",       "  &5=61291",     "---",       "&Color=61292",        "&Color by Object=61293",
                        "&Reset            DEL=61091", "&Rotate Field    TAB=61092"};
  EXPECT_EQ(lines(runtimeMenu(RuntimeMenu::Labels, {"a", "b"})), labels);
  const Lines sound = {"a=61350",      "---",        "Sound Effect>", "  &Chord=61230", "  Clic&X=61231",
                       "  &Impact=61232", "  &Blub=61233", "  &Tick=61234", "  Ta&p=61235",
                       "&Reset            DEL=61091", "&Rotate Field    TAB=61092"};
  EXPECT_EQ(lines(runtimeMenu(RuntimeMenu::Sound, {"a"})), sound);
  const Lines voice = {"---",
                       "Voice Language>",
                       "  &American English=61240",
                       "  &British English=61241",
                       "  &Dutch=61242",
                       "  &French=61243",
                       "  &German=61244",
                       "  &Italian=61245",
                       "  &Japanese=61246",
                       "  &Korean=61247",
                       "  &Portuguese=61248",
                       "  &Russian=61249",
                       "  &Spanish=61250",
                       "&Reset            DEL=61091",
                       "&Rotate Field    TAB=61092"};
  EXPECT_EQ(lines(runtimeMenu(RuntimeMenu::Voice, {})), voice) << "no fields, no field items";
  const Lines calculator = {"&Default=61321", "&Remove>",     "  &This=61331", "  &Variable=61332", "  &All=61330",
                            "---",            "Method>",      "  &Count=61340", "  &Percent=61341", "  &Min=61342",
                            "  Ma&x=61343",   "  &Sum=61344", "  &Average=61345", "Variable>",      "  a=61350",
                            "---",            "&Speak=61325"};
  EXPECT_EQ(lines(runtimeMenu(RuntimeMenu::Calculator, {"a"})), calculator);
}

TEST(MenuTables, EachAttributeHasItsMenu) {
  EXPECT_EQ(runtimeMenuFor(ATTRIB_COLOR), RuntimeMenu::Colour);
  EXPECT_EQ(runtimeMenuFor(ATTRIB_LABEL), RuntimeMenu::Labels);
  for (int a : {ATTRIB_TEXTURE, ATTRIB_SOUND_FREQ, ATTRIB_SOUND_VOLUME}) EXPECT_EQ(runtimeMenuFor(a), RuntimeMenu::Sound);
  EXPECT_EQ(runtimeMenuFor(ATTRIB_SPEECH), RuntimeMenu::Voice);
  for (int a : {ATTRIB_AXISX, ATTRIB_AXISY, ATTRIB_AXISZ}) EXPECT_EQ(runtimeMenuFor(a), RuntimeMenu::AxisMapping);
  for (int a : {ATTRIB_SIZE, ATTRIB_HEIGHT, ATTRIB_BASE, ATTRIB_DIMX, ATTRIB_DIMY, ATTRIB_ROTX, ATTRIB_ROTY, ATTRIB_ROTZ,
                ATTRIB_SHAPE, ATTRIB_OPACITY, ATTRIB_JITTER})
    EXPECT_EQ(runtimeMenuFor(a), RuntimeMenu::Mapping) << a;
}

TEST(MenuTables, ChecksAndGreyingReachEveryItemOfAnId) {
  Menu m = runtimeMenu(RuntimeMenu::Mapping, {"a", "b"});
  setChecked(m, kFieldItemFirst + 1, true);
  setEnabled(m, CMD_ID_LOGN, false);
  EXPECT_TRUE(findCommand(m, kFieldItemFirst + 1)->checked);
  EXPECT_FALSE(findCommand(m, kFieldItemFirst)->checked);
  EXPECT_FALSE(findCommand(m, CMD_ID_LOGN)->enabled);
  EXPECT_EQ(findCommand(m, 12345), nullptr);
  EXPECT_EQ(commandIds(m).size(), 9u) << "two fields and seven commands";
}

}  // namespace
}  // namespace vlm::tools
