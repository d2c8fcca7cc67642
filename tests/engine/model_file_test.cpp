// The model file through the C API: saving, opening and applying models on a
// running engine with pasted tables, and the questions and messages on the way.
#include <QCoreApplication>

#include <atomic>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/host_messages.h"
#include "engine/model_file/model_file_save.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"
#include "model/space_settings_table.h"
#include "platform/file_dialog.h"
#include "platform/profile_file.h"
#include "sound/sound_record.h"
#include "sources/support/source_fixture.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/selector/selection_compute.h"
#include "tools/selector/selector_rows.h"

namespace vlm {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kMarker = platform::kCommandBase + 299;  // sets the data done event
std::atomic<bool> idleAtMarker{false};  // nothing was queued behind the last marker

const char* kTable =
    "Name\tPrice\tWeight\tOrigin\r\n"
    "a\t10\t1.5\tUSA\r\n"
    "b\t20\t2.5\tJapan\r\n"
    "c\t30\t4\tUSA\r\n"
    "d\t40\t8.25\tEurope\r\n";

class ModelFileTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    dataHandlers().set(kMarker, [](EngineState& s, const platform::Command&) {
      idleAtMarker = s.main->dataThread->queue().size() == 0;
      s.main->dataDone.set();
      return true;
    });
    previousDialog_ = platform::setFileDialogHandler([this](const platform::FileDialogRequest& r) {
      dialogs_.push_back(r);
      platform::FileDialogResult result;
      result.accepted = !dialogAnswer_.empty();
      result.path = dialogAnswer_;
      result.filterIndex = r.filterIndex;
      return result;
    });
    start();
    state().main->settings.firstRun = 0;
    vlm_SetConfirmation(0);  // the save question has its own test
    ASSERT_TRUE(paste(kTable));
  }
  void TearDown() override {
    platform::setFileDialogHandler(previousDialog_);
    SourceTest::TearDown();
  }

  // Waits until the data thread has served everything posted to it,
  // including what its commands posted in turn.
  void settle() {
    for (int round = 0; round < 50; ++round) {
      ASSERT_TRUE(request([this] { postData(state(), kMarker); }));
      if (idleAtMarker) return;
    }
    FAIL() << "the data thread kept busy";
  }
  std::string file(const char* name) const { return (dir_ / name).string(); }
  static std::string slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void spit(const std::string& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
  }
  platform::ProfileDocument document(const std::string& p) { return platform::ProfileDocument::parse(slurp(p)); }
  int32_t associations() { return vlm_GetNumberOfAssociations(); }
  int32_t fieldOf(int32_t attribute) { return vlm_AttributeToField(attribute); }
  void open(const std::string& p) {
    vlm_OpenModel(p.c_str());
    settle();
  }
  void apply(const std::string& p) {
    vlm_ModelApply(p.c_str());
    settle();
  }
  std::string modelName() {
    char buffer[1024];
    vlm_GetModelName(buffer);
    return buffer;
  }
  // A model on the pasted table: Price on X, Weight on colour, Origin on
  // labels, two Calculator rows, some space settings changed.
  void buildModel() {
    vlm_AssociateField(1, 0, ATTRIB_AXISX, 70, MAP_LINEAR | MAP_INVERSE);
    vlm_AssociateField(2, 0, ATTRIB_COLOR, 50, MAP_LOGN);
    vlm_AssociateField(3, 0, ATTRIB_LABEL, 40, 0);
    platform::DataLockGuard lock(state().main->dataLock);
    CalculatorRecord& rec = state().main->calculator;
    calculator::removeAllRows(rec);
    calculator::addRow(rec, table(), -1, CALC_COUNT);
    calculator::addRow(rec, table(), 2, CALC_AVERAGE);
    SpaceSettings& space = state().view->space;
    space.rows[kRowArrowType].value = 4;
    space.rows[latticeRow(1, kLatPlane)].value = 1;
    setTransparency(space, kRowWaterTransparency, 40);
    space.labelFont.face = "DejaVu Sans";
    state().view->view.rotation[0] = -60.0f;
    state().view->view.rotation[2] = 30.0f;
    soundRecord(state()).currentEffect = 3;
  }

  std::vector<platform::FileDialogRequest> dialogs_;
  std::string dialogAnswer_;
  platform::FileDialogHandler previousDialog_;
};

TEST_F(ModelFileTest, SaveAsThenApplyGivesTheSameModel) {
  buildModel();
  dialogAnswer_ = file("cars");  // ".vlm" is added
  clearMessages();
  ASSERT_EQ(vlm_ModelSaveAs(), 1);
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0].caption, "Save Model As");
  EXPECT_TRUE(dialogs_[0].save);
  EXPECT_TRUE(dialogs_[0].confirmOverwrite);
  EXPECT_EQ(dialogs_[0].filters[0].patterns, "*.vlm");
  const std::string path = file("cars.vlm");
  ASSERT_TRUE(fs::exists(path));
  EXPECT_EQ(vlm_IsSaved(), 1);
  EXPECT_EQ(modelName(), "cars.vlm");
  flushHostMessages();
  ASSERT_FALSE(messagesOf(HM_RECENT_FILE).empty());
  EXPECT_EQ(messagesOf(HM_RECENT_FILE).back().text, path);

  // The file holds what was built.
  const platform::ProfileDocument doc = document(path);
  EXPECT_EQ(doc.get("Source", "Application", ""), "UNKNOWN");
  EXPECT_EQ(doc.get("Model", "Mappings", ""), "3");
  EXPECT_EQ(doc.get("Model", "Field0", ""), "Price");
  EXPECT_EQ(doc.get("Model", "Attribute1", ""), "ATTRIB_COLOR");
  EXPECT_EQ(doc.get("Color", "Entries", "0") != "0", true);
  EXPECT_EQ(doc.get("Calculator", "Function1", ""), "AVERAGE");
  EXPECT_EQ(doc.get("Setup", "Effect", ""), "Pop");
  EXPECT_EQ(doc.get("Grid", "ArowType", ""), "4");

  // Another model, then the saved one applied again.
  vlm_DeleteAllAssociations();
  {
    platform::DataLockGuard lock(state().main->dataLock);
    calculator::removeAllRows(state().main->calculator);
    fillDefaultSpaceSettings(state().view->space);
    state().view->view.rotation[0] = 0.0f;
  }
  soundRecord(state()).currentEffect = 0;
  apply(path);
  EXPECT_EQ(associations(), 3);
  EXPECT_EQ(fieldOf(ATTRIB_AXISX), 1);
  EXPECT_EQ(fieldOf(ATTRIB_COLOR), 2);
  EXPECT_EQ(fieldOf(ATTRIB_LABEL), 3);
  {
    platform::DataLockGuard lock(state().main->dataLock);
    const Association* x = attributeToPass(state().model->associations, ATTRIB_AXISX);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->scale, 70.0f);
    EXPECT_EQ(x->options, MAP_LINEAR | MAP_INVERSE);
    const CalculatorRecord& rec = state().main->calculator;
    ASSERT_EQ(rec.count, 2);
    EXPECT_EQ(rec.rows[1].label, "Average (Weight) =");
    const SpaceSettings& space = state().view->space;
    EXPECT_EQ(space.rows[kRowArrowType].value, 4);
    EXPECT_EQ(space.rows[latticeRow(1, kLatPlane)].value, 1);
    EXPECT_EQ(space.rows[kRowWaterTransparency].value, 40);
    EXPECT_EQ(space.labelFont.face, "DejaVu Sans");
    EXPECT_NEAR(state().view->view.rotation[0], -60.0f, 1e-3);
    EXPECT_NEAR(state().view->view.rotation[2], 30.0f, 1e-3);
  }
  EXPECT_EQ(soundRecord(state()).currentEffect.load(), 3);
  EXPECT_EQ(vlm_IsSaved(), 1);
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(ModelFileTest, SelectorMethodsAreKeptByFieldPosition) {
  {
    platform::DataLockGuard lock(state().main->dataLock);
    selector::clearRowsLocked(state());
    for (int32_t method : {4, 1, 0, 3}) ASSERT_TRUE(selector::addRowLocked(state(), method));
    selector::computeSelectionLocked(state(), true);
  }
  const std::string path = file("selector.vlm");
  ASSERT_EQ(writeModelFile(state(), path), 1);
  const platform::ProfileDocument doc = document(path);
  EXPECT_EQ(doc.get("Selector", "Method0", "?"), "SUBSTRING");
  EXPECT_EQ(doc.get("Selector", "Method1", "?"), "RANGE");
  EXPECT_EQ(doc.get("Selector", "Method2", "?"), "");
  EXPECT_EQ(doc.get("Selector", "Method3", "?"), "SAMPLES");

  // The same fields in another order: each position gets its stored method,
  // as far as the field there allows it.
  ASSERT_TRUE(paste("Origin\tPrice\tName\tWeight\r\nUSA\t10\ta\t1.5\r\nJapan\t20\tb\t2.5\r\n"));
  apply(path);
  EXPECT_TRUE(boxTexts().empty());
  platform::DataLockGuard lock(state().main->dataLock);
  EXPECT_EQ(selector::rowMethod(table(), 0), 4);  // Origin: a text searched
  EXPECT_EQ(selector::rowMethod(table(), 1), 1);  // Price: a range
  EXPECT_EQ(selector::rowMethod(table(), 2), 0);
  EXPECT_EQ(selector::rowMethod(table(), 3), 3);  // Weight: two values to tick
  EXPECT_EQ(state().model->selectedCount, 2);
}

TEST_F(ModelFileTest, SavingOverAnOldFileKeepsWhatTheModelDoesNotWrite) {
  const std::string path = file("old.vlm");
  spit(path, "[Own]\r\nKeep=me\r\n[Color]\r\nRampType=CATEGORICAL\r\nEntries=1\r\nEntry0V=7\r\n"
             "[Model]\r\nMappings=9\r\nField8=Gone\r\n");
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);  // nothing on colour
  ASSERT_EQ(writeModelFile(state(), path), 1);
  const platform::ProfileDocument doc = document(path);
  EXPECT_EQ(doc.get("Own", "Keep", ""), "me");
  EXPECT_EQ(doc.get("Color", "RampType", ""), "CATEGORICAL");  // the old section stays
  EXPECT_EQ(doc.get("Model", "Mappings", ""), "1");
  EXPECT_FALSE(doc.find("Model", "Field8"));
  EXPECT_NE(slurp(path).find("\r\n"), std::string::npos);

  // Read back, the old colours are not read: no field is on colour.
  vlm_AssociateField(2, 0, ATTRIB_COLOR, 50, 0);
  apply(path);
  EXPECT_EQ(fieldOf(ATTRIB_COLOR), -1);
  EXPECT_EQ(associations(), 1);
}

TEST_F(ModelFileTest, AScaleOf49Point9IsWrittenAndReadAs49) {
  vlm_AssociateField(1, 0, ATTRIB_SIZE, 50, 0);
  vlm_SetAssociationScale(0, 49.9f);
  const std::string path = file("scale.vlm");
  ASSERT_EQ(writeModelFile(state(), path), 1);
  EXPECT_EQ(document(path).get("Model", "Scale0", ""), "49");
  spit(path, "[Model]\r\nMappings=1\r\nField0=Price\r\nAttribute0=ATTRIB_SIZE\r\nScale0=49.9\r\n");
  apply(path);
  EXPECT_EQ(vlm_GetAssociationScale(0), 49.0f);
}

TEST_F(ModelFileTest, UnknownSourceStopsAnOpenButNotAnApply) {
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);
  const std::string path = file("pasted.vlm");
  ASSERT_EQ(writeModelFile(state(), path), 1);
  EXPECT_EQ(document(path).get("Source", "Application", ""), "UNKNOWN");
  vlm_DeleteAllAssociations();
  open(path);
  EXPECT_EQ(associations(), 0);
  apply(path);
  EXPECT_EQ(associations(), 1);
  EXPECT_EQ(modelName(), "pasted.vlm");
}

TEST_F(ModelFileTest, RelativePathsAreTakenInTheModelDirectory) {
  vlm_AssociateField(1, 0, ATTRIB_AXISY, 50, 0);
  ASSERT_EQ(writeModelFile(state(), file("rel.vlm")), 1);
  vlm_DeleteAllAssociations();
  {
    std::lock_guard lock(state().model->nameMutex);
    state().main->modelFolder = dir_.string();  // without the trailing "/": one is put between
  }
  apply("rel.vlm");
  EXPECT_EQ(fieldOf(ATTRIB_AXISY), 1);
  // Opened files set the model directory: the next relative name is found there.
  EXPECT_EQ(state().main->modelFolder, dir_.string() + "/");
}

TEST_F(ModelFileTest, AFileWithoutAModelKeepsTheCurrentOne) {
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);
  const std::string junk = file("junk.vlm");
  for (const std::string& text : {std::string("\x89PNG\r\n\x1a\n\0\0garbage", 16),
                                  std::string("[Desktop Entry]\nName=Other program\n"),
                                  std::string("[Source]\r\nApplication=UNKNOWN\r\n[Mod"), std::string()}) {
    spit(junk, text);
    resetBoxes();
    apply(junk);
    EXPECT_EQ(associations(), 1);
    ASSERT_EQ(boxTexts().size(), 1u);
    EXPECT_NE(boxTexts()[0].find("holds no Velmora model"), std::string::npos);
  }
  resetBoxes();
  apply(file("missing.vlm"));
  EXPECT_EQ(associations(), 1);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("Unable to open the model file"), std::string::npos);
}

TEST_F(ModelFileTest, MissingKeysReadAsTheirDefaults) {
  const std::string path = file("bare.vlm");
  spit(path, "[Model]\r\nMappings=1\r\nField0=price\r\nAttribute0=attrib_height\r\n");
  vlm_CloseCalculator();  // an open Calculator shows the default rows of a model without any
  apply(path);
  EXPECT_EQ(fieldOf(ATTRIB_HEIGHT), 1);  // the name matched in any letter case
  platform::DataLockGuard lock(state().main->dataLock);
  const SpaceSettings& space = state().view->space;
  EXPECT_EQ(space.rows[kRowAxes].value, 0);
  EXPECT_EQ(space.rows[kRowBackgroundColor].colorref, 0u);
  EXPECT_EQ(state().main->calculator.count, 0);
  EXPECT_FALSE(state().view->view.legendOn.load());  // "Labels" 0
}

TEST_F(ModelFileTest, AWriteThatFailsIsNotReportedAsSaved) {
  const std::string path = file("locked.vlm");
  spit(path, "[Model]\r\nMappings=0\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  {
    std::lock_guard lock(state().model->nameMutex);
    state().model->modelPath = path;
  }
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);
  ASSERT_EQ(vlm_IsSaved(), 0);
  clearMessages();
  EXPECT_EQ(vlm_ModelSave(), 0);
  EXPECT_EQ(vlm_IsSaved(), 0);
  EXPECT_EQ(slurp(path), "[Model]\r\nMappings=0\r\n");
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("Unable to save the model into " + path), std::string::npos);
  flushHostMessages();
  EXPECT_TRUE(messagesOf(HM_RECENT_FILE).empty());
  fs::permissions(path, fs::perms::owner_all);
}

TEST_F(ModelFileTest, SaveQuestionBeforeOpening) {
  const std::string path = file("other.vlm");
  spit(path, "[Model]\r\nMappings=1\r\nField0=Weight\r\nAttribute0=ATTRIB_SIZE\r\n");
  vlm_SetConfirmation(1);
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);
  ASSERT_EQ(vlm_IsSaved(), 0);

  // Cancel: nothing happens.
  boxes_->answer(platform::BOX_CANCEL);
  apply(path);
  ASSERT_EQ(boxes_->boxes().size(), 1u);
  EXPECT_EQ(boxes_->boxes()[0].caption, " Velmora Quit");
  EXPECT_EQ(boxes_->boxes()[0].text, "Do you want to save the current model?");
  EXPECT_EQ(boxes_->boxes()[0].buttons, platform::BoxButtons::YesNoCancel);
  EXPECT_EQ(fieldOf(ATTRIB_AXISX), 1);

  // Yes with no file to save to, and the Save As dialog cancelled: the open
  // stops, the unsaved model stays.
  boxes_->answer(platform::BOX_YES);
  dialogAnswer_.clear();
  apply(path);
  EXPECT_EQ(fieldOf(ATTRIB_AXISX), 1);
  EXPECT_EQ(fieldOf(ATTRIB_SIZE), -1);
  EXPECT_EQ(vlm_IsSaved(), 0);

  // Yes with a name: saved first, then the other model.
  dialogAnswer_ = file("first.vlm");
  apply(path);
  EXPECT_TRUE(fs::exists(file("first.vlm")));
  EXPECT_EQ(fieldOf(ATTRIB_SIZE), 2);

  // No: the model is left unsaved and the other one read.
  vlm_AssociateField(3, 0, ATTRIB_LABEL, 50, 0);
  boxes_->answer(platform::BOX_NO);
  apply(path);
  EXPECT_EQ(fieldOf(ATTRIB_LABEL), -1);
  EXPECT_EQ(vlm_IsSaved(), 1);

  // Without "Ask User" nothing is asked.
  const size_t asked = boxes_->boxes().size();
  vlm_SetConfirmation(0);
  vlm_AssociateField(3, 0, ATTRIB_LABEL, 50, 0);
  apply(path);
  EXPECT_EQ(boxes_->boxes().size(), asked);
}

TEST_F(ModelFileTest, DifferentFieldNamesAreAskedAboutOnce) {
  const std::string path = file("names.vlm");
  spit(path, "[Model]\r\nMappings=3\r\nField0=Nope\r\nAttribute0=ATTRIB_SIZE\r\nField1=Neither\r\n"
             "Attribute1=ATTRIB_HEIGHT\r\nField2=Price\r\nAttribute2=ATTRIB_AXISX\r\n");
  boxes_->answer(platform::BOX_NO);
  apply(path);
  ASSERT_EQ(boxes_->boxes().size(), 1u);
  EXPECT_EQ(boxes_->boxes()[0].caption, "Just to be sure...");
  EXPECT_EQ(boxes_->boxes()[0].text,
            "There is a difference between field names\nin the current data and the model.\n\n"
            "Do you really want to continue loading the model?");
  EXPECT_EQ(boxes_->boxes()[0].defaultButton, platform::BOX_NO);
  EXPECT_EQ(associations(), 0);

  boxes_->answer(platform::BOX_YES);
  apply(path);
  EXPECT_EQ(boxes_->boxes().size(), 2u);
  EXPECT_EQ(associations(), 3);  // the two without a field stay, fieldless
  EXPECT_EQ(fieldOf(ATTRIB_AXISX), 1);
  EXPECT_EQ(fieldOf(ATTRIB_SIZE), -1);
}

TEST_F(ModelFileTest, CalculatorRowsNeedNumericFieldsAndTheSpokenRowTheOption) {
  const std::string path = file("calc.vlm");
  spit(path, "[Model]\r\nMappings=0\r\n[Calculator]\r\nCalculations=5\r\nFunction0=COUNT\r\n"
             "Field1=Name\r\nFunction1=SUM\r\nField2=Price\r\nFunction2=Average\r\nField3=Missing\r\n"
             "Function3=PERCENT\r\nFunction4=MAX\r\nSpeak=2\r\n");
  state().main->settings.speechCalculator = 1;
  apply(path);
  {
    platform::DataLockGuard lock(state().main->dataLock);
    const CalculatorRecord& rec = state().main->calculator;
    ASSERT_EQ(rec.count, 3);  // Sum of a text field and Max of no field are dropped
    EXPECT_EQ(rec.rows[0].label, "Count =");
    EXPECT_EQ(rec.rows[1].label, "Average (Price) =");
    EXPECT_EQ(rec.rows[2].label, "Percent =");
    EXPECT_EQ(calculator::spokenRow(rec), 2);
  }
  state().main->settings.speechCalculator = 0;
  apply(path);
  platform::DataLockGuard lock(state().main->dataLock);
  EXPECT_EQ(calculator::spokenRow(state().main->calculator), -1);
}

TEST_F(ModelFileTest, ATextFileModelReopensItsFile) {
  const std::string data = file("weather.tsv");
  spit(data, "Day\tTemp\tRain\nMon\t12.5\t0\nTue\t15\t3.5\nWed\t9\t1\n");
  ASSERT_TRUE(request([&] { vlm_OpenFile(data.c_str(), 0); }));
  ASSERT_EQ(table().rowCount, 3);
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);
  const std::string path = file("weather.vlm");
  ASSERT_EQ(writeModelFile(state(), path), 1);
  const platform::ProfileDocument doc = document(path);
  EXPECT_EQ(doc.get("Source", "Application", ""), "TEXTFILE");
  EXPECT_EQ(doc.get("Source", "Source", ""), "weather.tsv");
  EXPECT_EQ(doc.get("Source", "SourceFull", ""), data);

  // Other data on the clipboard, then the model opened: its file comes back
  // with the model on it.
  ASSERT_TRUE(paste(kTable));
  vlm_DeleteAllAssociations();
  state().model->saved = 1;
  open(path);
  EXPECT_EQ(table().rowCount, 3);
  EXPECT_EQ(cell(1, 1), "15");
  EXPECT_EQ(fieldOf(ATTRIB_AXISX), 1);
  EXPECT_EQ(modelName(), "weather.vlm");
  EXPECT_TRUE(boxTexts().empty());

  // Moved beside the model, the file is found there.
  fs::create_directories(dir_ / "moved");
  fs::rename(data, dir_ / "moved" / "weather.tsv");
  fs::rename(path, dir_ / "moved" / "weather.vlm");
  ASSERT_TRUE(paste(kTable));
  state().model->saved = 1;
  open((dir_ / "moved" / "weather.vlm").string());
  EXPECT_EQ(table().rowCount, 3);

  // Gone: asked whether the model goes on the current data, whose field
  // names differ (asked again).
  fs::remove(dir_ / "moved" / "weather.tsv");
  ASSERT_TRUE(paste(kTable));
  vlm_DeleteAllAssociations();
  state().model->saved = 1;
  boxes_->answer(platform::BOX_YES);
  open((dir_ / "moved" / "weather.vlm").string());
  ASSERT_EQ(boxTexts().size(), 2u);
  EXPECT_NE(boxTexts()[0].find("cannot be found"), std::string::npos);
  EXPECT_NE(boxTexts()[1].find("difference between field names"), std::string::npos);
  EXPECT_EQ(table().rowCount, 4);
  EXPECT_EQ(associations(), 1);  // applied on the pasted data, without a field of that name
  EXPECT_EQ(fieldOf(ATTRIB_AXISX), -1);
}

// The command line and the recent files open files through vlm_OpenFile.
TEST_F(ModelFileTest, OpenFileOpensModelFilesWithTheirData) {
  const std::string data = file("w.tsv");
  spit(data, "Day\tTemp\nMon\t12.5\nTue\t15\n");
  const std::string path = file("route.VLM");
  spit(path, "[Source]\r\nApplication=TEXTFILE\r\nSource=w.tsv\r\nSourceFull=/nowhere/w.tsv\r\nTable=\r\n"
             "[Model]\r\nMappings=1\r\nField0=Temp\r\nAttribute0=ATTRIB_AXISZ\r\n");
  vlm_OpenFile(path.c_str(), 0);
  settle();
  EXPECT_EQ(table().rowCount, 2);  // found beside the model
  EXPECT_EQ(fieldOf(ATTRIB_AXISZ), 1);
  EXPECT_EQ(modelName(), "route.VLM");
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(ModelFileTest, TheOpenDialogAndItsFilters) {
  dialogAnswer_.clear();
  vlm_OpenModel(nullptr);
  settle();
  ASSERT_EQ(dialogs_.size(), 1u);
  const platform::FileDialogRequest& r = dialogs_[0];
  EXPECT_EQ(r.caption, "Open Model");
  EXPECT_FALSE(r.save);
  ASSERT_EQ(r.filters.size(), 3u);
  EXPECT_EQ(r.filters[0].patterns, "*.vlm");
  EXPECT_EQ(r.filters[1].patterns, "*.mdb");
  EXPECT_EQ(r.filters[2].patterns, "*.*");
  EXPECT_EQ(r.initialName, "*.vlm");
  EXPECT_EQ(r.filterIndex, 0);
  vlm_ModelApply("");
  settle();
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[1].caption, "Apply Model");

  // A chosen model is applied and named.
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);
  ASSERT_EQ(writeModelFile(state(), file("chosen.vlm")), 1);
  vlm_DeleteAllAssociations();
  state().model->saved = 1;
  dialogAnswer_ = file("chosen.vlm");
  clearMessages();
  vlm_ModelApply(nullptr);
  settle();
  EXPECT_EQ(fieldOf(ATTRIB_AXISX), 1);
  flushHostMessages();
  EXPECT_FALSE(messagesOf(HM_RECENT_FILE).empty());
}

TEST_F(ModelFileTest, ResetForgetsTheModelsFileAndAssociations) {
  vlm_AssociateField(1, 0, ATTRIB_AXISX, 50, 0);
  ASSERT_EQ(writeModelFile(state(), file("r.vlm")), 1);
  apply(file("r.vlm"));
  ASSERT_EQ(modelName(), "r.vlm");
  EXPECT_EQ(vlm_ModelReset(), 0);  // no engine thread to rebuild on
  EXPECT_EQ(modelName(), "");
  EXPECT_EQ(associations(), 0);
  std::lock_guard lock(state().model->nameMutex);
  EXPECT_EQ(state().model->modelPath, "");
  EXPECT_EQ(state().model->sourceName, "");
}

TEST_F(ModelFileTest, TheOlderSpeechInterfaceKeepsTheLanguage) {
  state().main->settings.newerSpeechApi = false;
  soundRecord(state()).speechLanguage = 4;
  const std::string path = file("speech.vlm");
  ASSERT_EQ(writeModelFile(state(), path), 1);
  EXPECT_EQ(document(path).get("Setup", "SpeechLanguage", ""), "German");
  state().main->settings.newerSpeechApi = true;
  ASSERT_EQ(writeModelFile(state(), file("speech5.vlm")), 1);
  EXPECT_FALSE(document(file("speech5.vlm")).find("Setup", "SpeechLanguage"));
}

}  // namespace
}  // namespace vlm
