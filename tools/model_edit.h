#pragma once
// Changes that the popup menus and tool windows make to the model, the space
// settings or the selection run with the data lock held, but the host thread
// never waits for it: an edit runs at once when the lock is free (or lent to
// this thread by a click handler that waits for its menu), otherwise it is
// queued for the engine thread, which runs it as soon as the holder lets go.
#include <functional>

namespace vlm {

struct EngineState;

using ModelEdit = std::function<void(EngineState&)>;

// True when the edit ran at once, false when it was queued. Without an engine
// thread to queue for, the edit waits for the lock here.
bool editModel(EngineState& state, ModelEdit edit);

// Queues an edit for the engine thread behind every command already posted
// there (a follow-up that must see what those commands did).
void queueEdit(EngineState& state, ModelEdit edit);

// Runs an edit only when the lock can be had at once; false otherwise. For
// reads that may skip a turn (a refresh that a later one makes up).
bool tryWithLock(EngineState& state, const ModelEdit& work);

// The engine thread's handler of the queued edits.
void runQueuedEdits(EngineState& state);

}  // namespace vlm
