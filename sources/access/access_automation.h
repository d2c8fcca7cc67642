#pragma once
// The database workspace's automation side, as the loader drives it: find it
// running, start it, open and close its database, set an option, quit it,
// bring its main window to the front, and show a sample's record there.
#include <cstdint>
#include <string>

namespace vlm {

struct EngineState;

// 1 when the workspace runs and tells whether it is visible (remembered as
// found running / visible); an invisible one is told to quit. Else 0.
int isAccessRunning(EngineState& state);

// Starts the workspace when it does not run (then it was started by the
// engine) and makes it visible and under user control. False, after the
// failure message, when it cannot be reached.
bool startAccess(EngineState& state);
// Start, then close its database and open `path` (the workspace reports a
// file it cannot open). True when the database is open.
bool openAccessDatabase(EngineState& state, const std::string& path);
void quitAccess(EngineState& state);
bool setAccessOption(EngineState& state, const std::string& name, int32_t value);
bool accessMainWindowExists();

// Brings the workspace's main window to the front (restoring it when
// minimised); without one, starts the workspace, whose window then shows.
void switchToAccess(EngineState& state);

// Shows sample `sample`'s record in the workspace's main window: open the
// current object there, go to record row id + 1, bring the window to the
// front. "Can't jump on row %i in Access." when the first step fails.
bool jumpToAccessRecord(EngineState& state, int32_t sample);

// The macro commands of a jump, a quote inside the name doubled.
std::string openObjectCommand(const std::string& name, bool query);
std::string goToRecordCommand(const std::string& name, bool query, int64_t record);

// The message of an automation failure.
std::string automationFailureText();

}  // namespace vlm
