// The sound tests play on OpenAL Soft's null backend unless the environment
// names another: they must not need, or sound through, a sound card. Set
// before main, ahead of the first OpenAL call, which reads the setting.
#include <cstdlib>

namespace {

const bool g_nullAudio = [] {
  setenv("ALSOFT_DRIVERS", "null", 0);
  return true;
}();

}  // namespace
