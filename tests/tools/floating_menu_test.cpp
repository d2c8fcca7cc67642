// The floating menu through the C API on a running engine: which menu a pick
// name opens, what it shows, and that every command reaches its action with
// the model rebuilt.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/speech_hooks.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"
#include "model/space_settings_table.h"
#include "platform/message_box.h"
#include "sound/sound_record.h"
#include "tools/menus/menu_commands.h"
#include "tools/menus/menu_ids.h"
#include "tools/support/tools_fixture.h"
#include "tools/tool_services.h"
#include "tools/tools_state.h"

namespace vlm {
namespace {

using namespace tools;

constexpr int32_t kLegend = 2000000100;  // + attribute

struct Binding {
  bool exists = false;
  int32_t field = -1;
  int32_t options = 0;
  bool categorical = false;
};

class FloatingMenu : public test::ToolsTest {
 protected:
  void SetUp() override {
    ToolsTest::SetUp();
    if (!openWindow()) GTEST_SKIP() << "no GL context for the hidden view";
    test::loadCars(*state_);
  }

  Binding binding(int32_t attribute) {
    platform::DataLockGuard lock(state_->main->dataLock);
    Binding b;
    if (const Association* a = attributeToPassSaved(state_->model->associations, attribute)) {
      b.exists = true;
      b.field = a->field;
      b.options = a->options;
      b.categorical = isCategorical(*a);
    }
    return b;
  }

  // Opens the menu of `name`, picks `id`, and waits for the rebuild it asks for.
  bool pick(int32_t name, int32_t id, bool rebuild = true) {
    const int before = rebuilds();
    choose(id);
    if (vlm_ShowFloatingMenu(static_cast<vlm_wparam>(static_cast<uint32_t>(name))) != id) return false;
    return !rebuild || waitForRebuild(before);
  }

  // Reads what the engine thread may be writing, under the data lock.
  template <typename F>
  auto locked(F&& read) {
    platform::DataLockGuard lock(state_->main->dataLock);
    return read();
  }

  const Menu& lastMenu() {
    last_ = shownMenus().back();
    return last_;
  }

  Menu last_;
};

TEST_F(FloatingMenu, APickNameOpensItsMenu) {
  struct Case {
    int32_t name;
    const char* menu;
  };
  const Case cases[] = {
      {3, "Data"},
      {kLegend + ATTRIB_COLOR, "Color"},
      {kLegend + ATTRIB_SIZE, "Mapping"},
      {2000000011, "Mapping"},  // the X axis: the axis menu
      {kLegend + ATTRIB_LABEL, "Labels"},
      {kLegend + ATTRIB_TEXTURE, "Sound"},
      {kLegend + ATTRIB_SOUND_VOLUME, "Sound"},
      {kLegend + ATTRIB_SPEECH, "Voice"},
      {2000000250, "Color"},  // the colour bar
      {2000000253, "CLR_Entry"},
      {2000000000, "Space"},  // the water level
      {2000000300, "DB_Node"},
      {2000000400, "DB_Table"},
      {-1, "Space"},
      {2001000000, "Space"},
  };
  for (const Case& c : cases) {
    choose(0);
    EXPECT_EQ(vlm_ShowFloatingMenu(static_cast<vlm_wparam>(static_cast<uint32_t>(c.name))), 0);
    EXPECT_EQ(lastMenu().name, c.menu) << c.name;
  }
  choose(0);
  vlm_ShowFloatingMenu(2000000011);
  EXPECT_NE(findCommand(lastMenu(), CMD_ID_MAKE_HORIZONTAL), nullptr);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SIZE);
  EXPECT_EQ(findCommand(lastMenu(), CMD_ID_MAKE_HORIZONTAL), nullptr);
}

TEST_F(FloatingMenu, AQueryOfTheDatabaseTreeOpensTheQueryMenu) {
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    state_->data->accessObjects = {{"Orders", 21}, {"Late orders", 23}};
  }
  choose(0);
  vlm_ShowFloatingMenu(2000000401);
  EXPECT_EQ(lastMenu().name, "DB_Query");
  vlm_ShowFloatingMenu(2000000400);
  EXPECT_EQ(lastMenu().name, "DB_Table");
}

TEST_F(FloatingMenu, ChoosingAFieldBindsItAndChecksIt) {
  ASSERT_TRUE(pick(kLegend + ATTRIB_SIZE, kFieldItemFirst + 2));
  Binding b = binding(ATTRIB_SIZE);
  EXPECT_TRUE(b.exists);
  EXPECT_EQ(b.field, 2);
  EXPECT_EQ(b.options, MAP_LINEAR) << "the default options";
  choose(0);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SIZE);
  const Menu& m = lastMenu();
  EXPECT_TRUE(findCommand(m, kFieldItemFirst + 2)->checked);
  EXPECT_FALSE(findCommand(m, kFieldItemFirst + 1)->checked);
  EXPECT_EQ(findCommand(m, kFieldItemFirst + 1)->text, "Miles");
  // Another field keeps the options the attribute had.
  ASSERT_TRUE(pick(kLegend + ATTRIB_SIZE, CMD_ID_REVERSE));
  ASSERT_TRUE(pick(kLegend + ATTRIB_SIZE, kFieldItemFirst + 1));
  b = binding(ATTRIB_SIZE);
  EXPECT_EQ(b.field, 1);
  EXPECT_EQ(b.options, MAP_LINEAR | MAP_INVERSE);
}

TEST_F(FloatingMenu, MappingOptionCommands) {
  vlm_AssociateField(2, 0, ATTRIB_HEIGHT, -1, MAP_LOGN | MAP_INVERSE);
  ASSERT_TRUE(pick(kLegend + ATTRIB_HEIGHT, CMD_ID_LINEAR));
  EXPECT_EQ(binding(ATTRIB_HEIGHT).options, MAP_LINEAR | MAP_INVERSE);
  EXPECT_EQ(binding(ATTRIB_HEIGHT).field, 2);
  ASSERT_TRUE(pick(kLegend + ATTRIB_HEIGHT, CMD_ID_LOGN));
  EXPECT_EQ(binding(ATTRIB_HEIGHT).options, MAP_LOGN | MAP_INVERSE);
  ASSERT_TRUE(pick(kLegend + ATTRIB_HEIGHT, CMD_ID_EXP));
  EXPECT_EQ(binding(ATTRIB_HEIGHT).options, MAP_EXP | MAP_INVERSE);
  ASSERT_TRUE(pick(kLegend + ATTRIB_HEIGHT, CMD_ID_POSITIVE));
  EXPECT_EQ(binding(ATTRIB_HEIGHT).options, MAP_EXP | MAP_INVERSE | MAP_POSITIVE);
  const int32_t before = binding(ATTRIB_HEIGHT).options;
  ASSERT_TRUE(pick(kLegend + ATTRIB_HEIGHT, CMD_ID_REVERSE));
  EXPECT_EQ(binding(ATTRIB_HEIGHT).options, before & ~MAP_INVERSE);
  ASSERT_TRUE(pick(kLegend + ATTRIB_HEIGHT, CMD_ID_REVERSE));
  EXPECT_EQ(binding(ATTRIB_HEIGHT).options, before) << "Reverse twice restores";
  EXPECT_EQ(vlm_IsSaved(), 0);
}

TEST_F(FloatingMenu, OptionsWithoutAFieldWaitForTheNextBindingOfThatMenu) {
  ASSERT_TRUE(pick(kLegend + ATTRIB_OPACITY, CMD_ID_LOGN, false));
  ASSERT_TRUE(pick(kLegend + ATTRIB_OPACITY, CMD_ID_REVERSE, false));
  EXPECT_FALSE(binding(ATTRIB_OPACITY).exists) << "only stored";
  ASSERT_TRUE(pick(kLegend + ATTRIB_OPACITY, kFieldItemFirst + 1));
  EXPECT_EQ(binding(ATTRIB_OPACITY).options, MAP_LOGN | MAP_INVERSE);
}

TEST_F(FloatingMenu, ResetAndRotate) {
  vlm_AssociateField(4, 0, ATTRIB_AXISX, -1, 0);
  ASSERT_TRUE(pick(2000000011, CMD_ID_ROTATE_FIELD));
  EXPECT_EQ(binding(ATTRIB_AXISX).field, 0) << "after the last field comes the first";
  ASSERT_TRUE(pick(2000000011, CMD_ID_RESET));
  EXPECT_FALSE(binding(ATTRIB_AXISX).exists);
  ASSERT_TRUE(pick(kLegend + ATTRIB_ROTZ, CMD_ID_ROTATE_FIELD));
  EXPECT_EQ(binding(ATTRIB_ROTZ).field, 0) << "no field yet: the first field";
}

TEST_F(FloatingMenu, AFieldItemOfAnOlderFieldListChangesNothing) {
  choose(kFieldItemFirst + 7);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SIZE);
  drainEngine();
  EXPECT_FALSE(binding(ATTRIB_SIZE).exists);
}

TEST_F(FloatingMenu, TheFieldItemsFollowANewLoad) {
  choose(0);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SIZE);
  EXPECT_EQ(findCommand(lastMenu(), kFieldItemFirst)->text, "Name");
  test::loadTable(*state_, {{"Price", {"1", "2"}}, {"Stock", {"5", "6"}}});
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SIZE);
  const Menu& m = lastMenu();
  EXPECT_EQ(findCommand(m, kFieldItemFirst)->text, "Price");
  EXPECT_EQ(findCommand(m, kFieldItemFirst + 1)->text, "Stock");
  EXPECT_EQ(findCommand(m, kFieldItemFirst + 2), nullptr);
}

// A menu shown while a load holds the table lists the fields of the table
// before; when the load brings other fields, the item chosen binds nothing
// rather than whichever new field has its number.
TEST_F(FloatingMenu, AFieldItemShownDuringALoadBindsOnlyTheFieldItShowed) {
  choose(0);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SIZE);  // reads Name, Miles, Weight, ...
  std::atomic<bool> held{false}, chosen{false};
  std::thread load([&] {
    platform::DataLockGuard lock(state_->main->dataLock);
    held = true;
    while (!chosen.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::snprintf(state_->data->fields[2].name, sizeof state_->data->fields[2].name, "%s", "Horsepower");
  });
  while (!held.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  choose(kFieldItemFirst + 2);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SIZE);
  EXPECT_EQ(findCommand(lastMenu(), kFieldItemFirst + 2)->text, "Weight") << "the list of the last look";
  chosen = true;
  load.join();
  drainEngine();
  EXPECT_FALSE(binding(ATTRIB_SIZE).exists);
  ASSERT_TRUE(pick(kLegend + ATTRIB_SIZE, kFieldItemFirst + 2)) << "read again, the new name binds";
  EXPECT_EQ(binding(ATTRIB_SIZE).field, 2);
}

// Speech that starts reads the field list again for the menus.
TEST_F(FloatingMenu, SpeechStartingReadsTheFieldsAgain) {
  choose(0);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SPEECH);
  test::loadTable(*state_, {{"Price", {"1", "2"}}});
  ASSERT_TRUE(speechHooks().started);
  speechHooks().started(*state_);
  EXPECT_EQ(toolsOf(*state_).menuFields, std::vector<std::string>{"Price"});
}

TEST_F(FloatingMenu, ColourRampsAndMappings) {
  vlm_AssociateField(2, 0, ATTRIB_COLOR, -1, 0);
  ASSERT_TRUE(pick(kLegend + ATTRIB_COLOR, 61211));  // "&Spectrum"
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    const ColorModel& m = state_->view->colorModel;
    ASSERT_EQ(m.entries.size(), 4u);
    EXPECT_FLOAT_EQ(m.entries[0].red, 0.9f);
    EXPECT_FLOAT_EQ(m.entries[0].blue, 0.25f);
    EXPECT_FLOAT_EQ(m.entries[3].green, 0.3325f);
  }
  ASSERT_TRUE(pick(2000000250, 61220));  // "&Black - White" from the colour bar
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    const ColorModel& m = state_->view->savedColorModel;
    ASSERT_EQ(m.entries.size(), 2u);
    EXPECT_FLOAT_EQ(m.entries[1].red, 1.0f);
  }
  ASSERT_TRUE(pick(kLegend + ATTRIB_COLOR, CMD_ID_CATEGORICAL));
  EXPECT_EQ(locked([&] { return state_->view->savedColorModel.rampType; }), kRampCategorical);
  ASSERT_TRUE(pick(kLegend + ATTRIB_COLOR, CMD_ID_CONTINUOUS));
  EXPECT_EQ(locked([&] { return state_->view->savedColorModel.rampType; }), kRampContinuous);
  ASSERT_TRUE(pick(kLegend + ATTRIB_COLOR, CMD_ID_RESET));
  EXPECT_FALSE(binding(ATTRIB_COLOR).exists);
  platform::DataLockGuard lock(state_->main->dataLock);
  EXPECT_EQ(state_->view->colorModel.entries.size(), 4u) << "the default ramp again";
}

TEST_F(FloatingMenu, ColourPointsWithTheirDialogs) {
  vlm_AssociateField(1, 0, ATTRIB_COLOR, -1, 0);  // Miles, 15..24
  platform::DialogAnswerer answers;
  answers.text = [](const platform::TextRequest& r) -> std::optional<std::string> {
    EXPECT_EQ(r.caption, "Set Value");
    return "22";
  };
  answers.colour = [](uint32_t) -> std::optional<uint32_t> { return 0x0000FF; };
  answerDialogs(answers);
  const size_t entries = locked([&] { return state_->view->savedColorModel.entries.size(); });
  ASSERT_TRUE(pick(kLegend + ATTRIB_COLOR, CMD_ID_ADD_POINT));
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    const ColorModel& m = state_->view->savedColorModel;
    ASSERT_EQ(m.entries.size(), entries + 1);
    EXPECT_EQ(std::count_if(m.entries.begin(), m.entries.end(), [](const ColorEntry& e) { return e.valueText == "22"; }),
              1);
  }
  ASSERT_TRUE(pick(2000000253, CMD_ID_SET_COLOUR));  // entry 1
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    const ColorEntry& e = state_->view->savedColorModel.entries[1];
    EXPECT_FLOAT_EQ(e.red, 1.0f);
    EXPECT_FLOAT_EQ(e.green, 0.0f);
  }
  answers.text = [](const platform::TextRequest&) -> std::optional<std::string> { return "16"; };
  answerDialogs(answers);
  ASSERT_TRUE(pick(2000000253, CMD_ID_SET_VALUE));
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    const auto& es = state_->view->savedColorModel.entries;
    EXPECT_TRUE(std::any_of(es.begin(), es.end(), [](const ColorEntry& e) { return e.valueText == "16"; }));
  }
  ASSERT_TRUE(pick(2000000253, CMD_ID_REMOVE_POINT));
  EXPECT_EQ(locked([&] { return state_->view->savedColorModel.entries.size(); }), entries);
  // A cancelled dialog changes nothing.
  answers.colour = [](uint32_t) -> std::optional<uint32_t> { return std::nullopt; };
  answerDialogs(answers);
  const float red = locked([&] { return state_->view->savedColorModel.entries[1].red; });
  choose(CMD_ID_SET_COLOUR);
  vlm_ShowFloatingMenu(2000000253);
  drainEngine();
  EXPECT_FLOAT_EQ(locked([&] { return state_->view->savedColorModel.entries[1].red; }), red);
}

TEST_F(FloatingMenu, LabelCommandsRebuildTheLabelFont) {
  vlm_AssociateField(0, 0, ATTRIB_LABEL, -1, 0);
  const auto row = [&](int32_t r) {
    platform::DataLockGuard lock(state_->main->dataLock);
    return state_->view->space.rows[static_cast<size_t>(r)];
  };
  ASSERT_TRUE(pick(kLegend + ATTRIB_LABEL, CMD_ID_LABEL_3D));
  EXPECT_EQ(row(kRowLabel3D).value, 1);
  ASSERT_TRUE(pick(kLegend + ATTRIB_LABEL, CMD_ID_DEPTH_FIRST + 3));
  EXPECT_EQ(row(kRowLabel3DDepth).value, 3);
  platform::DialogAnswerer answers;
  answers.colour = [](uint32_t) -> std::optional<uint32_t> { return 0x00FF00; };
  answers.font = [](const platform::FontChoice& now) -> std::optional<platform::FontChoice> {
    EXPECT_EQ(now.face, "Arial");
    EXPECT_EQ(now.points, 10);
    return platform::FontChoice{"DejaVu Serif", 14, 400, false};
  };
  answerDialogs(answers);
  ASSERT_TRUE(pick(kLegend + ATTRIB_LABEL, CMD_ID_LABEL_COLOUR));
  EXPECT_EQ(row(kRowLabelColor).colorref, 0x00FF00u);
  EXPECT_EQ(row(kRowLabelColorByObject).value, 0);
  ASSERT_TRUE(pick(kLegend + ATTRIB_LABEL, CMD_ID_COLOUR_BY_OBJECT));
  EXPECT_EQ(row(kRowLabelColorByObject).value, 1);
  ASSERT_TRUE(pick(kLegend + ATTRIB_LABEL, CMD_ID_LABEL_FONT));
  EXPECT_EQ(locked([&] { return state_->view->space.labelFont.face; }), "DejaVu Serif");
  EXPECT_FLOAT_EQ(row(kRowLabelFont).secondary, 14 * 10 * 0.035f);
  // Every label command leaves the font lists to be made again.
  drainEngine();
  EXPECT_EQ(binding(ATTRIB_LABEL).field, 0);
}

TEST_F(FloatingMenu, SoundEffectsAndVoiceLanguagesNeedAField) {
  static std::atomic<int> language{-1};
  language = -1;
  // No speech is started or spoken here; the language request is recorded.
  const auto quiet = [](EngineState&, const platform::Command&) { return true; };
  test::HandlerSwap noStart(dataHandlers(), CMD_INIT_SPEECH, quiet);
  test::HandlerSwap noSpeech(dataHandlers(), CMD_SPEAK, quiet);
  test::HandlerSwap languages(dataHandlers(), CMD_SPEECH_LANGUAGE, [](EngineState&, const platform::Command& c) {
    language = static_cast<int>(c.wParam);
    return true;
  });
  const auto effect = [&] { return soundRecord(*state_).currentEffect.load(); };
  ASSERT_EQ(effect(), 0);
  choose(CMD_ID_EFFECT_FIRST + 3);  // "&Blub"
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SOUND_FREQ);
  EXPECT_EQ(effect(), 0) << "no field on the attribute";
  vlm_AssociateField(1, 0, ATTRIB_SOUND_FREQ, -1, 0);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SOUND_FREQ);
  EXPECT_EQ(effect(), 3);
  choose(0);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SOUND_FREQ);
  EXPECT_TRUE(findCommand(lastMenu(), CMD_ID_EFFECT_FIRST + 3)->checked) << "the current effect";
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SPEECH);
  EXPECT_TRUE(findCommand(lastMenu(), CMD_ID_LANGUAGE_FIRST)->checked) << "the current language";
  choose(CMD_ID_LANGUAGE_FIRST + 4);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SPEECH);
  drainEngine();
  QCoreApplication::processEvents();
  EXPECT_EQ(language.load(), -1) << "no field on speech";
  vlm_AssociateField(3, 0, ATTRIB_SPEECH, -1, 0);
  vlm_ShowFloatingMenu(kLegend + ATTRIB_SPEECH);
  ASSERT_TRUE(test::waitUntil([] { return language.load() >= 0; }));
  EXPECT_EQ(language.load(), 4);
}

TEST_F(FloatingMenu, GoToIsGreyedForClipboardData) {
  ToolServices& services = toolServices();
  const ToolServices saved = services;
  static std::atomic<int> jumped{-1};
  jumped = -1;
  services.jumpToServer = [](int32_t sample) { jumped = sample; };
  choose(CMD_ID_GO_TO);
  EXPECT_EQ(vlm_ShowFloatingMenu(4), 0) << "greyed items cannot be chosen";
  EXPECT_FALSE(findCommand(lastMenu(), CMD_ID_GO_TO)->enabled);
  test::loadCars(*state_, DSK_ACCESS);
  EXPECT_EQ(vlm_ShowFloatingMenu(4), CMD_ID_GO_TO);
  EXPECT_EQ(jumped.load(), 4);
  services = saved;
}

// The floating menu's own commands, as the host and the menus carry them out.
TEST_F(FloatingMenu, SpaceCommands) {
  MenuTarget space;
  runMenuCommand(*state_, space, CMD_ID_LABELS_OFF);
  EXPECT_EQ(vlm_GetLabels(), 0);
  runMenuCommand(*state_, space, CMD_ID_LABELS_CYCLE);
  EXPECT_EQ(vlm_GetLabels(), 1);
  EXPECT_EQ(vlm_GetDefaultLabels(), 0);
  runMenuCommand(*state_, space, CMD_ID_LABELS_CYCLE);
  EXPECT_EQ(vlm_GetDefaultLabels(), 1);
  runMenuCommand(*state_, space, CMD_ID_LABELS_CYCLE);
  EXPECT_EQ(vlm_GetLabels(), 0);
  runMenuCommand(*state_, space, CMD_ID_LABELS_ALL);
  EXPECT_EQ(vlm_GetLabels() + vlm_GetDefaultLabels(), 2);
  runMenuCommand(*state_, space, CMD_ID_LABELS_ON);
  EXPECT_EQ(vlm_GetDefaultLabels(), 0);

  {
    platform::DataLockGuard lock(state_->main->dataLock);
    state_->view->space.rows[kRowAxes].value = 0;
  }
  const int before = rebuilds();
  runMenuCommand(*state_, space, CMD_ID_WATER_LEVEL);
  EXPECT_EQ(vlm_GetWaterlevel(), 1);
  ASSERT_TRUE(waitForRebuild(before));
  EXPECT_EQ(locked([&] { return state_->view->space.rows[kRowAxes].value; }), 1) << "water on turns the axes on";
  runMenuCommand(*state_, space, CMD_ID_WATER_LEVEL);
  EXPECT_EQ(vlm_GetWaterlevel(), 0);

  runMenuCommand(*state_, space, CMD_ID_DESELECT_ALL);
  drainEngine();
  EXPECT_EQ(vlm_GetNumberOfSelected(), 0);
  runMenuCommand(*state_, space, CMD_ID_INVERT_SELECTION);
  drainEngine();
  EXPECT_EQ(vlm_GetNumberOfSelected(), 6);
}

TEST_F(FloatingMenu, DeleteAsksWhenObjectsAreSelected) {
  MenuTarget data;
  data.kind = MenuTarget::Kind::Data;
  data.sample = 2;
  boxes_->answer(platform::BOX_NO);
  runMenuCommand(*state_, data, CMD_ID_DELETE);
  drainEngine();
  ASSERT_EQ(boxes_->boxes().size(), 1u);
  EXPECT_EQ(boxes_->boxes()[0].caption, "Just to be sure...");
  EXPECT_EQ(boxes_->boxes()[0].text, "Do you want to delete the selected objects?\n\nYou can't revert this action.");
  EXPECT_EQ(boxes_->boxes()[0].defaultButton, platform::BOX_NO);
  EXPECT_EQ(vlm_GetNumberOfHits(), 6) << "No keeps them";
  boxes_->answer(platform::BOX_YES);
  runMenuCommand(*state_, data, CMD_ID_DELETE);
  drainEngine();
  EXPECT_EQ(vlm_GetNumberOfHits(), 0) << "every object was selected";
  EXPECT_EQ(vlm_GetSelectedObjectType(), 0);
}

TEST_F(FloatingMenu, DeleteWithNothingSelectedDeletesTheClickedObject) {
  vlm_SetSelectionState(0);
  drainEngine();
  MenuTarget data;
  data.kind = MenuTarget::Kind::Data;
  data.sample = 5;
  runMenuCommand(*state_, data, CMD_ID_DELETE);
  drainEngine();
  EXPECT_TRUE(boxes_->boxes().empty()) << "no question";
  EXPECT_EQ(vlm_GetNumberOfHits(), 5);
  char text[1024];
  vlm_GetValueAsText(0, 4, text, 0);
  EXPECT_STREQ(text, "ford");
  EXPECT_EQ(vlm_GetValueAsText(0, 5, text, 0), 0) << "the audi went";
}

TEST_F(FloatingMenu, TheDatabaseTreeExpandsCollapsesAndLoads) {
  static std::atomic<int> loaded{-1};
  loaded = -1;
  test::HandlerSwap swapCmdLoad(dataHandlers(), CMD_LOAD, [](EngineState&, const platform::Command& c) {
    loaded = static_cast<int>(c.wParam);
    return true;
  });
  {
    platform::DataLockGuard lock(state_->main->dataLock);
    state_->data->accessObjects = {{"Orders", 21}, {"Late orders", 23}};
  }
  choose(CMD_ID_EXPAND);
  vlm_ShowFloatingMenu(2000000310);  // the Queries node
  drainEngine();
  EXPECT_TRUE(locked([&] { return state_->model->scene.tree.expanded[1]; }));
  choose(CMD_ID_COLLAPSE);
  vlm_ShowFloatingMenu(2000000400);  // a table: its node collapses
  drainEngine();
  EXPECT_FALSE(locked([&] { return state_->model->scene.tree.expanded[0]; }));
  choose(CMD_ID_SELECT_TABLE);
  vlm_ShowFloatingMenu(2000000401);
  ASSERT_TRUE(test::waitUntil([] { return loaded.load() >= 0; }));
  EXPECT_EQ(loaded.load(), 1);
}

// A click handler holds the data lock while it waits for the menu it asked
// for: the menu's command still changes the model, and nothing deadlocks.
TEST_F(FloatingMenu, AMenuOpenedWhileTheEngineHoldsTheLockStillBindsAField) {
  static std::atomic<bool> returned{false};
  returned = false;
  QObject* host = host_.get();
  struct Filter : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      vlm_host_message m{};
      if (e->type() == vlm_HostMessageEventType() && vlm_ReadHostMessage(e, &m) && m.message == HM_SHOW_FLOATING_MENU) {
        vlm_SetHostMessageResult(e, vlm_ShowFloatingMenu(m.wParam));
        return true;
      }
      return false;
    }
  } filter;
  host->installEventFilter(&filter);
  test::HandlerSwap swapCmdPlaySlider(engineHandlers(), CMD_PLAY_SLIDER, [](EngineState& s, const platform::Command&) {
    platform::DataLockGuard lock(s.main->dataLock);
    sendHost(s, HM_SHOW_FLOATING_MENU, kLegend + ATTRIB_SIZE, 0);
    returned = true;
    return true;
  });
  choose(kFieldItemFirst + 2);
  const int before = rebuilds();
  postEngine(*state_, CMD_PLAY_SLIDER);
  ASSERT_TRUE(test::waitUntil([] { return returned.load(); }, 10000));
  ASSERT_TRUE(waitForRebuild(before));
  EXPECT_EQ(binding(ATTRIB_SIZE).field, 2);
  host->removeEventFilter(&filter);
}

}  // namespace
}  // namespace vlm
