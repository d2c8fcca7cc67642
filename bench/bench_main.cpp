// Benchmark entry point with a QApplication for the benchmarks that draw.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "platform/message_box.h"

int main(int argc, char** argv) {
  // A desktop session has its message bus. Without one (a headless display),
  // Qt would start one and fork the process to do it: every page written
  // after that fork faults once more, and the first load would pay for a
  // copy no analyst's desktop makes. Pointing at no bus leaves Qt without.
  if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 0);
  // Kept to the very end: benchmarks hold engines in statics, and their
  // tool windows must be closed while the application still exists.
  auto* app = new QApplication(argc, argv);
  (void)app;
  // Nobody is there to answer a box: it is written out and answered "No"
  // (or "OK"), so a question at shutdown cannot hold the run.
  vlm::platform::setMessageBoxHandler([](const vlm::platform::MessageBoxRequest& box) {
    // Each box once (some come with every iteration); kept past the statics
    // that are destroyed before the engines that may still ask.
    static auto* seen = new std::set<std::string>;
    if (seen->insert(box.caption + box.text).second)
      std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    using vlm::platform::BoxButtons;
    return box.buttons == BoxButtons::YesNo || box.buttons == BoxButtons::YesNoCancel ? vlm::platform::BOX_NO
                                                                                       : vlm::platform::BOX_OK;
  });
  ::benchmark::Initialize(&argc, argv);
  if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
