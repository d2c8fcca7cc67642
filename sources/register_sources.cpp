#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "sources/access/access_connection.h"
#include "sources/connection_request.h"
#include "sources/excel/excel_connection.h"

namespace vlm {

// Installs the command handlers of this subsystem.
void registerSourceHandlers() {
  HandlerTable& t = dataHandlers();
  t.set(CMD_INIT_CONNECTION, &onInitConnection);
  t.set(CMD_CLOSE_CONNECTION, &onCloseConnection);
  t.set(CMD_LOAD, &onLoad);
  t.set(CMD_OPEN_FILE, &onOpenFile);
  registerAccessHandlers();
  registerExcelHandlers();
}

}  // namespace vlm
