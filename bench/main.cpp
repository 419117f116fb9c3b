// `make bench`: our kernels against OpenCV (see bench_rows.h), then how band size pays.
//   lumxip-bench [--report PATH] [--sweep-only] [Google Benchmark flags]

#include <cstring>
#include <string>
#include <vector>

#include "band_sweep.h"
#include "bench_rows.h"

void lcAddKernelBenchRows();
void lcAddExecuteBenchRows();
void lcAddRegionBenchRows();
void lcAddImageArithBenchRows();
void lcAddSamplingBenchRows();
void lcAddNeighbourhoodBenchRows();
void lcAddGeometryBenchRows();
void lcAddHistoBenchRows();
void lcAddMeasureBenchRows();

int main(int argc, char** argv) {
  std::string report = "report.json";
  bool sweepOnly = false;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--report") == 0 && i + 1 < argc)
      report = argv[++i];
    else if (std::strcmp(argv[i], "--sweep-only") == 0)
      sweepOnly = true;
    else
      rest.push_back(argv[i]);
  }
  lcRunBandSweep();
  if (sweepOnly) return 0;
  lcAddKernelBenchRows();
  lcAddExecuteBenchRows();
  lcAddRegionBenchRows();
  lcAddImageArithBenchRows();
  lcAddSamplingBenchRows();
  lcAddNeighbourhoodBenchRows();
  lcAddGeometryBenchRows();
  lcAddHistoBenchRows();
  lcAddMeasureBenchRows();
  int count = static_cast<int>(rest.size());
  return lcRunBenchRows(count, rest.data(), report) ? 0 : 1;
}
