#pragma once
// Reopening the workbook a model file was saved from and loading the
// selection of its sheet: what the model file reader asks for when it opens
// a model whose source is a spreadsheet ("EXCEL").
#include <string>

#include "sources/access/database_reopen.h"

namespace vlm {

struct WorkbookReopenRequest {
  std::string source;       // the workbook's name, as the model recorded it
  std::string sheet;        // the sheet (the model's table)
  std::string sourceFull;   // the workbook's full path, as recorded
  std::string modelFolder;  // the folder of the model file
  std::string modelPath;    // applied once the load has rows (see load_model.h)
};

// Runs on the data thread. Sets the pending model. When the table already
// comes from that workbook and sheet (names compared without regard to
// case), loads its selection again; otherwise opens the workbook found at
// the model's folder + source, or else at the recorded full path, activates
// the sheet and loads its selection. NoDatabase when neither file opens.
ReopenResult reopenWorkbookSource(EngineState& state, const WorkbookReopenRequest& request);

}  // namespace vlm
