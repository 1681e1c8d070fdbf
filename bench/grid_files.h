#pragma once
// Large meshes for the import benchmark: one flat grid of quads written as an OBJ,
// a binary PLY and a GLB, the shapes people count most (a scanned or modelled
// surface). OBJ and PLY keep the quads; glTF has no quads, so the GLB holds each
// quad as two triangles over the same shared positions.
#include <cstdint>
#include <string>

namespace bench {

struct Grid {
  int columns = 2000;  // quads along x
  int rows = 1000;     // quads along y
  std::int64_t Quads() const { return static_cast<std::int64_t>(columns) * rows; }
  std::int64_t Positions() const { return static_cast<std::int64_t>(columns + 1) * (rows + 1); }
};

// Each writes the grid to `file` and answers false when the file cannot be written.
bool WriteObj(const Grid& grid, const std::string& file);
bool WritePly(const Grid& grid, const std::string& file);
bool WriteGlb(const Grid& grid, const std::string& file);

}  // namespace bench
