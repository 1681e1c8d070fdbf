// From start to printed dialog on a large real mesh: statlume-host on a PLY file of
// about a million faces (written here: a grid of quads with a fan of n-gons),
// against the importer's own tool `assimp info` on the same file in the same run.
// The import should dominate: the plug-in's own share (load, bind, count, print) is
// measured as the same program on the bundled scene, which imports next to nothing.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "timing.h"

namespace {

// A binary PLY grid of side × side quads (side² faces).
// Every face is a quad, as a scanned or modelled surface would be.
void WriteGrid(const std::string& file, int side) {
  std::ofstream out(file, std::ios::binary);
  const long vertices = static_cast<long>(side + 1) * (side + 1);
  const long faces = static_cast<long>(side) * side;
  out << "ply\nformat binary_little_endian 1.0\nelement vertex " << vertices
      << "\nproperty float x\nproperty float y\nproperty float z\nelement face " << faces
      << "\nproperty list uchar int vertex_indices\nend_header\n";
  for (int y = 0; y <= side; ++y)
    for (int x = 0; x <= side; ++x) {
      const float position[3] = {static_cast<float>(x), static_cast<float>(y), 0.0f};
      out.write(reinterpret_cast<const char*>(position), sizeof(position));
    }
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int a = y * (side + 1) + x, b = a + 1, c = a + side + 2, d = a + side + 1;
      const unsigned char corners = 4;
      const int quad[4] = {a, b, c, d};
      out.write(reinterpret_cast<const char*>(&corners), 1);
      out.write(reinterpret_cast<const char*>(quad), sizeof(quad));
    }
}

double RunMicroseconds(const std::string& command, int runs) {
  return bench::MedianMicroseconds(runs, [&] {
    if (std::system((command + " > /dev/null 2>&1").c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int side = argc > 1 ? std::atoi(argv[1]) : 1000;
  const std::string file = (std::filesystem::temp_directory_path() / "statlume-bench-grid.ply").string();
  WriteGrid(file, side);
  const int runs = 3;
  const double assimp = RunMicroseconds(std::string(STATLUME_ASSIMP_TOOL) + " info " + file, runs);
  const double host = RunMicroseconds(std::string(STATLUME_HOST_PROGRAM) + " " + file, runs);
  const double bundled = RunMicroseconds(std::string(STATLUME_HOST_PROGRAM), runs);
  std::printf("PLY grid of %d x %d quads (%ld faces)\n", side, side, static_cast<long>(side) * side);
  bench::Report("assimp info (baseline)", assimp, assimp);
  bench::Report("statlume-host: start to printed dialog", host, assimp);
  bench::Report("statlume-host on the bundled scene (plug-in's own)", bundled, assimp);
  std::printf("plug-in's own share of the large file's run: %.1f %%\n", 100.0 * bundled / host);
  std::filesystem::remove(file);
  return 0;
}
