#pragma once
// Opens an address (a web page or a local file:// page) in the program the
// desktop uses for it. Tests put a recorder in its place.
#include <functional>
#include <string>

namespace vlm::platform {

using UrlOpener = std::function<bool(const std::string& address)>;

// Replaces the opener (null restores the desktop's); returns the previous one.
UrlOpener setUrlOpener(UrlOpener opener);

// Asks the desktop (on the host thread) to open the address; false when no
// program takes it.
bool openUrl(const std::string& address);

}  // namespace vlm::platform
