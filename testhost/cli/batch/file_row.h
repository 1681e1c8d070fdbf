#pragma once
// One file's row in a run over several files: the dialog's eight fields for the
// file's default active object, or why the file has none.
#include <array>
#include <string>

namespace batch {

// The eight fields in the order of the table's columns: Polygons, Points, N-Gons
// and Objects, each as "Current" then "Editable".
inline constexpr int kFieldCount = 8;
extern const std::array<const char*, kFieldCount> kFieldColumns;  // "polygons_current", ...

enum class Outcome { kCounted, kBadInput, kPluginFault, kCrashed };

struct FileRow {
  std::string file;  // as given, or as found in a folder given
  Outcome outcome = Outcome::kCounted;
  int status = 0;                                // the exit status this file alone leads to
  std::array<std::string, kFieldCount> fields;  // decimal digits; empty where a field shows no number
  std::string error;                             // why the file failed, one line
  std::string json;                              // with --json: the one-line document printed for it
};

// "ok", "bad input", "plug-in fault", "crashed".
const char* OutcomeWord(Outcome outcome);

// The worse of two exit statuses: a fault of the plug-in (1) is worse than bad
// input (2), which is worse than success (0).
int WorseStatus(int a, int b);

}  // namespace batch
