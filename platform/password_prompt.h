#pragma once
// Asking the user for a database server's password, on the host thread. The
// answer lives in memory only: it is never written to a file or the registry
// store. Tests replace the dialog by a handler that answers a scripted text.
#include <functional>
#include <optional>
#include <string>

namespace vlm::platform {

struct PasswordRequest {
  std::string connection;  // where the password is for, shown without any password
  std::string reason;      // why it is asked (the server's words), may be empty
};

using PasswordHandler = std::function<std::optional<std::string>(const PasswordRequest&)>;

// Replaces the handler (null restores the Qt dialog); returns the previous one.
PasswordHandler setPasswordHandler(PasswordHandler handler);

// The password typed, or nothing when the user cancelled (or no dialog can
// be shown here).
std::optional<std::string> askPassword(const PasswordRequest& request);

}  // namespace vlm::platform
