#pragma once
// Reopening the database a model file was saved from, and loading its table
// or query: what the model file reader asks for when it opens a model whose
// source is a database.
#include <string>
#include <vector>

namespace vlm {

struct EngineState;

struct ReopenRequest {
  // The database files to try, in order (the model's folder and source name,
  // then the full path it recorded); the first that exists is opened.
  std::vector<std::string> candidates;
  std::string object;     // the table or query, matched exactly
  std::string modelPath;  // applied once the load has rows (see load_model.h)
};

enum class ReopenResult {
  Loading,     // the database is open and the object's load has begun
  NoDatabase,  // no candidate could be opened (the pending model stays set)
  NoObject,    // the database has no object of that name (likewise)
  NotLoaded,   // the object could not be read, or the user cancelled
};

// Runs on the data thread. Sets the pending model, clears the table, opens
// the database in the workspace, lists its objects and starts loading the
// first one named `object`.
ReopenResult reopenModelSource(EngineState& state, const ReopenRequest& request);

}  // namespace vlm
