// Times the product's catalogue build (a) against the floor (b), a full scan of
// HKCR\CLSID (c), the category enumeration alone (e) and the Component Manager itself
// (g), interleaved round by round, for several numbers of registered unit operations.
// Prints medians; asserts nothing.
//
//   catalogue_bench [--sizes 100,1000,5000] [--rounds 5] [--unrelated 20000] [--populate-only]
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "bench/BenchIds.h"
#include "bench/Floor.h"
#include "bench/ManagerDialog.h"
#include "bench/Populate.h"
#include "bench/Scan.h"
#include "bench/Stopwatch.h"
#include "framework/ModulePath.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "manager/ComponentCatalogue.h"

namespace {

// Errors are counted, never shown: a message box would stop an unattended run.
class CountingHost : public CatalogueHost {
 public:
  void showCatalogueError(const std::string& text) override {
    ++errors;
    last = text;
  }
  int errors = 0;
  std::string last;
};

using bench::Stopwatch;

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Options {
  std::vector<unsigned long> sizes{100, 1000, 5000};
  int rounds = 5;
  unsigned long unrelated = 20000;
  bool populateOnly = false;
};

bool parse(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--sizes" && hasValue) {
      options->sizes.clear();
      std::string list = argv[++i];
      for (size_t at = 0; at < list.size();) {
        size_t comma = list.find(',', at);
        if (comma == std::string::npos) comma = list.size();
        options->sizes.push_back(std::strtoul(list.substr(at, comma - at).c_str(), nullptr, 10));
        at = comma + 1;
      }
    } else if (arg == "--rounds" && hasValue) {
      options->rounds = std::atoi(argv[++i]);
    } else if (arg == "--unrelated" && hasValue) {
      options->unrelated = std::strtoul(argv[++i], nullptr, 10);
    } else if (arg == "--populate-only") {
      options->populateOnly = true;
    } else {
      return false;
    }
  }
  std::sort(options->sizes.begin(), options->sizes.end());
  return !options->sizes.empty() && options->rounds > 0;
}

std::string siblingPath(const char* fileName) {
  const std::string result = fw::modulePath(nullptr);
  size_t slash = result.find_last_of("\\/");
  return result.substr(0, slash == std::string::npos ? 0 : slash + 1) + fileName;
}

void printMachine() {
  typedef const char*(CDECL * WineVersion)();
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  WineVersion wineVersion =
      ntdll ? reinterpret_cast<WineVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
            : nullptr;
  wchar_t cpuName[256] = L"unknown";
  DWORD size = sizeof cpuName - sizeof(wchar_t);
  RegGetValueW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", L"ProcessorNameString",
               RRF_RT_REG_SZ, nullptr, cpuName, &size);
  const std::string cpu = narrowFromWide(cpuName);
  SYSTEM_INFO info = {};
  GetSystemInfo(&info);
  std::printf("Machine: %s, %lu logical processors; %s%s\n", cpu.c_str(), static_cast<unsigned long>(info.dwNumberOfProcessors),
              wineVersion ? "Wine " : "Windows", wineVersion ? wineVersion() : "");
}

struct Sample {
  double a = 0, destroy = 0, b = 0, c = 0, e = 0, g = 0, shown = 0;
};

// What one round saw, checked against what is registered.
struct Seen {
  size_t units = 0, systems = 0, packages = 0;
  bool operator==(const Seen& o) const { return units == o.units && systems == o.systems && packages == o.packages; }
};

Seen seenInCatalogue(const ComponentCatalogue& catalogue) {
  Seen seen;
  for (const CatalogueEntry& root : catalogue.roots()) {
    if (root.text == "Unit Operations") seen.units = root.children.size();
    if (root.text == "Thermo Property Systems") {
      seen.systems = root.children.size();
      for (const CatalogueEntry& system : root.children) seen.packages += system.children.size();
    }
  }
  return seen;
}

Seen seenInFloor(const std::vector<bench::FloorRecord>& records) {
  Seen seen;
  for (const bench::FloorRecord& record : records) {
    if (record.packages.empty()) {
      ++seen.units;
    } else {
      ++seen.systems;
      seen.packages += record.packages.size();
    }
  }
  return seen;
}

bool runRound(unsigned long n, bench::ManagerDialog& dialog, Sample* sample, std::string* problem) {
  const Seen expected{n, bench::kSystemCount, static_cast<size_t>(bench::kSystemCount * bench::kPackagesPerSystem)};
  // (a) the product's catalogue: the unit operations and the property systems with their packages.
  CountingHost host;
  Stopwatch aClock;
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(32 | 4, std::string(), &host);
  sample->a = aClock.ms();
  if (!catalogue || !(seenInCatalogue(*catalogue) == expected) || host.errors) {
    *problem = "the catalogue differs from the registry" + (host.errors ? ": " + host.last : std::string());
    return false;
  }
  Stopwatch destroyClock;
  catalogue.reset();  // each record traces its address: timed apart
  sample->destroy = destroyClock.ms();

  // (b) the floor.
  std::vector<bench::FloorRecord> records;
  Stopwatch bClock;
  HRESULT hr = bench::runFloor(&records);
  sample->b = bClock.ms();
  if (FAILED(hr) || !(seenInFloor(records) == expected)) {
    *problem = "the floor differs from the registry";
    return false;
  }
  records.clear();

  // (c) the full scan.
  std::vector<std::string> found;
  size_t scanned = 0;
  Stopwatch cClock;
  bool scannedOk = bench::scanCategories({kThermoSystemCatid, "{678c09a5-7d66-11D2-a67d-00105a42887f}"}, &found,
                                         &scanned);
  sample->c = cClock.ms();
  if (!scannedOk || found.size() != n + bench::kSystemCount) {
    *problem = "the scan found " + std::to_string(found.size()) + " classes";
    return false;
  }

  // (e) the category enumeration alone, part of both (a) and (b).
  size_t enumerated = 0;
  Stopwatch eClock;
  hr = bench::enumerateOnly(&enumerated);
  sample->e = eClock.ms();
  if (FAILED(hr) || enumerated != n + bench::kSystemCount) {
    *problem = "the enumeration found " + std::to_string(enumerated) + " classes";
    return false;
  }

  // (g) the Component Manager of the same filter, until its set-up is done; and until
  // ShowGUI has returned (closing frees the catalogue: compare with a + d).
  size_t items = 0;
  if (!dialog.show(&sample->g, &sample->shown, &items, problem)) return false;
  if (items != 2 + expected.units + expected.systems + expected.packages) {
    *problem = "the Component Manager's tree holds " + std::to_string(items) + " items";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: catalogue_bench [--sizes 100,1000,5000] [--rounds 5] [--unrelated 20000] [--populate-only]\n");
    return 2;
  }
  std::string error;
  fw::ComInit com;
  if (FAILED(com.result())) {
    std::fprintf(stderr, "CoInitialize failed: 0x%08lX\n", static_cast<unsigned long>(com.result()));
    return 1;
  }
  printMachine();
  std::fflush(stdout);
  bench::ManagerDialog dialog;
  if (!dialog.load(siblingPath("..\\TxCOGUI.dll"), 32 | 4, &error)) {
    std::fprintf(stderr, "The Component Manager: %s\n", error.c_str());
    return 1;
  }

  bench::PopulateReport populated;
  if (!bench::populate(options.sizes.back(), options.unrelated, siblingPath("benchsystems.dll"), &populated,
                       &error)) {
    std::fprintf(stderr, "Registering the synthetic classes: %s\n", error.c_str());
    return 1;
  }
  std::printf("Registry: wrote %lu components, %s, %lu unrelated classes in %.1f s\n", populated.unitsWritten,
              populated.systemsWritten ? "20 property systems" : "no property system", populated.unrelatedWritten,
              populated.seconds);
  if (options.populateOnly) return 0;

  std::printf("%d timed rounds per N after one warm-up round; medians. a = product catalogue build, b = floor, "
              "c = full HKCR\\CLSID scan, e = category enumeration alone (in a and b), d = destroying the "
              "catalogue (not in a), g = the Component Manager until its set-up is done, G = until ShowGUI "
              "returned; ratios are medians of the per-round ratios\n\n",
              options.rounds);
  std::printf("%6s %10s %10s %10s %10s %10s %12s %7s %7s %9s %10s %10s %7s %9s\n", "N", "a (ms)", "b (ms)", "c (ms)",
              "e (ms)", "d (ms)", "a/N (us)", "a/b", "c/a", "(a-e)/(b-e)", "g (ms)", "G (ms)", "g/a", "G/(a+d)");
  std::fflush(stdout);

  struct Row {
    unsigned long n;
    double a, b, c, e, d, g, shown;
    double ab, ca, beyond;  // medians of the per-round ratios a/b, c/a and (a-e)/(b-e)
    double ga, shownAd;     // and of g/a and G/(a+d)
  };
  std::vector<Row> rows;
  for (unsigned long n : options.sizes) {
    if (!bench::setCategorized(n, &error)) {
      std::fprintf(stderr, "Setting N = %lu: %s\n", n, error.c_str());
      return 1;
    }
    std::vector<Sample> samples;
    for (int round = 0; round <= options.rounds; ++round) {
      Sample sample;
      std::string problem;
      if (!runRound(n, dialog, &sample, &problem)) {
        std::fprintf(stderr, "N = %lu: %s\n", n, problem.c_str());
        return 1;
      }
      if (round > 0) samples.push_back(sample);  // round 0 warms caches and loads the DLLs
    }
    auto pick = [&](double Sample::*field) {
      std::vector<double> values;
      for (const Sample& s : samples) values.push_back(s.*field);
      return median(values);
    };
    // Ratios within a round, then their median: the load of a shared machine drifts
    // between rounds more than within one.
    auto ratio = [&](double (*of)(const Sample&)) {
      std::vector<double> values;
      for (const Sample& s : samples) values.push_back(of(s));
      return median(values);
    };
    Row row{n,
            pick(&Sample::a),
            pick(&Sample::b),
            pick(&Sample::c),
            pick(&Sample::e),
            pick(&Sample::destroy),
            pick(&Sample::g),
            pick(&Sample::shown),
            ratio([](const Sample& s) { return s.a / s.b; }),
            ratio([](const Sample& s) { return s.c / s.a; }),
            ratio([](const Sample& s) { return (s.a - s.e) / (s.b - s.e); }),
            ratio([](const Sample& s) { return s.g / s.a; }),
            ratio([](const Sample& s) { return s.shown / (s.a + s.destroy); })};
    rows.push_back(row);
    std::printf("%6lu %10.1f %10.1f %10.1f %10.1f %10.1f %12.1f %7.2f %7.2f %9.2f %10.1f %10.1f %7.2f %9.2f\n", n,
                row.a, row.b, row.c, row.e, row.d, 1000.0 * row.a / n, row.ab, row.ca, row.beyond, row.g, row.shown,
                row.ga, row.shownAd);
    std::fflush(stdout);
  }

  std::printf("\nTargets:\n");
  bool ratioHolds = true, scanHolds = true, dialogHolds = true;
  for (const Row& row : rows) {
    ratioHolds = ratioHolds && row.ab <= 1.3;
    scanHolds = scanHolds && row.ca >= 10;
    dialogHolds = dialogHolds && row.ga <= 1.3;
  }
  std::printf("  a/b <= 1.3 at every N: %s\n", ratioHolds ? "holds" : "does not hold");
  std::printf("  g/a <= 1.3 at every N (the dialog against the headless catalogue): %s\n",
              dialogHolds ? "holds" : "does not hold");
  if (rows.size() > 1) {
    const Row& first = rows.front();
    const Row& last = rows.back();
    double perFirst = 1000.0 * first.a / first.n, perLast = 1000.0 * last.a / last.n;
    double marginal = 1000.0 * (last.a - first.a) / static_cast<double>(last.n - first.n);
    double fixed = first.a - marginal * first.n / 1000.0;
    std::printf("  time per component flat from N = %lu to %lu: %.1f us -> %.1f us (%s); marginal cost %.1f us per "
                "component, fixed part %.1f ms\n",
                first.n, last.n, perFirst, perLast,
                perFirst <= 1.3 * perLast && perLast <= 1.3 * perFirst ? "holds" : "does not hold", marginal, fixed);
  }
  // Linear growth shows as the same cost per added component between each pair of sizes.
  for (size_t i = 1; i < rows.size(); ++i) {
    double added = static_cast<double>(rows[i].n - rows[i - 1].n);
    std::printf("  cost per added component from N = %lu to %lu: a %.1f us, g %.1f us\n", rows[i - 1].n, rows[i].n,
                1000.0 * (rows[i].a - rows[i - 1].a) / added, 1000.0 * (rows[i].g - rows[i - 1].g) / added);
  }
  std::printf("  c/a >= 10 with %lu unrelated classes: %s\n", options.unrelated, scanHolds ? "holds" : "does not hold");
  return 0;
}
