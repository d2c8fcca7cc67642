// Benchmark entry point with a QApplication for the benchmarks that draw.
#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
