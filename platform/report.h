#pragma once
// Where the lower layers send a recoverable error text. The engine installs
// its error box here at start; until then (and in tests) a recorder can stand in.
#include <functional>
#include <string>

namespace vlm::platform {

using ErrorSink = std::function<void(const char* text)>;

// Replaces the sink and returns the previous one.
ErrorSink setErrorSink(ErrorSink sink);

// Shows the text through the installed sink; without one it writes to stderr.
void reportError(const char* text);

}  // namespace vlm::platform
