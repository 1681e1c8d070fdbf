// From start to printed dialog on large real meshes: statlume-host on 2 million
// quads written three ways (OBJ, binary PLY, GLB), against the importer's own tool
// reading the same file raw (`assimp info FILE -r`), side by side in one run. The
// raw read is the floor for any program that counts through this importer, so the
// ratios say what statlume-host spends beyond it: wall time, processor time and
// peak resident memory, each the median of runs taken in turns. Then where
// statlume-host's time goes, from its own timing report (STATLUME_HOST_TIMING).
//
//   statlume-bench-import [RUNS [PROGRAM]]     (default 5 runs of the statlume-host built here)
//
// PROGRAM measures another build of statlume-host, an older one for instance.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "child_run.h"
#include "grid_files.h"

namespace {

namespace fs = std::filesystem;

struct File {
  const char* label;
  std::string path;
  std::int64_t polygons;  // what the dialog must show
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Side {
  std::vector<double> seconds, cpuSeconds, peakMiB;
  void Add(const bench::ChildRun& run) {
    seconds.push_back(run.seconds);
    cpuSeconds.push_back(run.cpuSeconds);
    peakMiB.push_back(static_cast<double>(run.peakKiB) / 1024.0);
  }
};

// The phases of one run of statlume-host, in milliseconds: each phase's duration,
// and "outside the phases" for the rest of the wall time (process start, reading
// the command line, printing, exit).
std::map<std::string, double> Phases(const std::string& report, double wallSeconds) {
  std::map<std::string, double> phases;
  std::ifstream in(report);
  double inside = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string name, word;
    double start = 0, end = 0;
    std::getline(fields, name, '\t');
    fields >> start >> end;
    phases[name] += end - start;
    inside += end - start;
  }
  phases["outside the phases"] = wallSeconds * 1000.0 - inside;
  return phases;
}

bool ShowsPolygons(const std::string& output, std::int64_t polygons) {
  std::ifstream in(output);
  for (std::string line; std::getline(in, line);)
    if (line.find("Polygons") != std::string::npos) {
      std::istringstream words(line.substr(line.find("Polygons") + 8));
      std::int64_t current = -1, editable = -1;
      words >> current >> editable;
      return current == polygons && editable == polygons;
    }
  return false;
}

struct Column {
  const char* phase;  // as the timing report names it
  const char* title;
};
const Column kColumns[] = {{"plug-in load", "load"},     {"import", "import"},        {"position merge", "merge"},
                           {"scene build", "build"},     {"plug-in start", "start"},  {"plug-in count", "count"},
                           {"plug-in unload", "unload"}, {"outside the phases", "other"}};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string program = argc > 2 ? argv[2] : STATLUME_HOST_PROGRAM;
  std::string pattern = (fs::temp_directory_path() / "statlume-bench-import-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror(pattern.c_str());
    return 1;
  }
  const fs::path folder = pattern;
  const bench::Grid grid;
  const std::int64_t quads = grid.Quads();
  std::vector<File> files = {{"OBJ", (folder / "grid.obj").string(), quads},
                             {"binary PLY", (folder / "grid.ply").string(), quads},
                             {"GLB", (folder / "grid.glb").string(), 2 * quads}};
  if (!bench::WriteObj(grid, files[0].path) || !bench::WritePly(grid, files[1].path) ||
      !bench::WriteGlb(grid, files[2].path)) {
    std::fprintf(stderr, "cannot write the meshes into %s\n", folder.c_str());
    return 1;
  }
  const std::string output = (folder / "output.txt").string();
  const std::string timing = (folder / "timing.txt").string();

  std::printf("Import of %lld quads: statlume-host FILE against assimp info FILE -r (the baseline),\n"
              "median of %d runs each, taken in turns. Goal: time <= 1.00, memory <= 1.10.\n%s\n\n",
              static_cast<long long>(quads), runs, program.c_str());
  std::printf("%-11s %7s | %8s %8s %6s | %8s %8s %6s | %8s %8s %6s\n", "file", "MB", "peer s", "host s", "ratio",
              "peer cpu", "host cpu", "ratio", "peer MiB", "host MiB", "ratio");
  std::vector<std::map<std::string, std::vector<double>>> phases(files.size());
  int status = 0;
  for (std::size_t f = 0; f < files.size(); ++f) {
    const File& file = files[f];
    Side peer, host;
    for (int run = 0; run < runs; ++run) {
      const bench::ChildRun raw = bench::RunChild({STATLUME_ASSIMP_TOOL, "info", file.path, "-r"}, {}, "/dev/null");
      const bench::ChildRun ours =
          bench::RunChild({program, file.path}, {"STATLUME_HOST_TIMING=" + timing}, output);
      if (raw.status != 0 || ours.status != 0 || !ShowsPolygons(output, file.polygons)) {
        std::fprintf(stderr, "%s: a run failed (assimp %d, statlume-host %d, or the counts are wrong)\n",
                     file.path.c_str(), raw.status, ours.status);
        status = 1;
        break;
      }
      peer.Add(raw);
      host.Add(ours);
      for (const auto& [name, ms] : Phases(timing, ours.seconds)) phases[f][name].push_back(ms);
    }
    if (peer.seconds.empty()) continue;
    const double size = static_cast<double>(fs::file_size(file.path)) / 1e6;
    const double ps = Median(peer.seconds), hs = Median(host.seconds);
    const double pc = Median(peer.cpuSeconds), hc = Median(host.cpuSeconds);
    const double pm = Median(peer.peakMiB), hm = Median(host.peakMiB);
    std::printf("%-11s %7.1f | %8.3f %8.3f %6.2f | %8.3f %8.3f %6.2f | %8.1f %8.1f %6.2f\n", file.label, size, ps, hs,
                hs / ps, pc, hc, hc / pc, pm, hm, hm / pm);
  }

  std::printf("\nWhere statlume-host's time goes, median ms: loading the plug-in (before the file is read),\n"
              "the importer's raw read, merging positions, building the scene, the plug-in's start, count\n"
              "(its command opening the dialog) and unload, and the rest (process start, printing, exit).\n%-11s",
              "file");
  for (const Column& column : kColumns) std::printf(" %8s", column.title);
  std::printf("\n");
  for (std::size_t f = 0; f < files.size(); ++f) {
    std::printf("%-11s", files[f].label);
    for (const Column& column : kColumns) {
      const auto found = phases[f].find(column.phase);
      std::printf(" %8.1f", found != phases[f].end() && !found->second.empty() ? Median(found->second) : 0.0);
    }
    std::printf("\n");
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return status;
}
