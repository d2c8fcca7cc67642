#pragma once
// The dispatch loops of the engine thread and the data thread.
#include <memory>

namespace vlm {

class WorkerThread;

std::shared_ptr<WorkerThread> makeEngineThread();
std::shared_ptr<WorkerThread> makeDataThread();

}  // namespace vlm
