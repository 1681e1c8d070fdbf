// The rows of several files for a spreadsheet: CSV read back by a CSV parser in
// its strict mode, and TSV, both keeping file names that hold commas, quotes,
// tabs and line breaks.
#include <gtest/gtest.h>

#include <csv.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "run_program.h"

namespace fs = std::filesystem;

namespace {

using Table = std::vector<std::vector<std::string>>;

const std::string kTestData = STATLUME_SOURCE_DIR "/testhost/import/testdata";
const std::vector<std::string> kHeader = {"file",           "status",          "polygons_current", "polygons_editable",
                                          "points_current", "points_editable", "ngons_current",    "ngons_editable",
                                          "objects_current", "objects_editable", "error"};

// Reads CSV with libcsv, strict about quotes; fails the test on a parse error.
Table ParseCsv(const std::string& text) {
  struct Reading {
    Table rows;
    std::vector<std::string> row;
  } reading;
  csv_parser parser;
  EXPECT_EQ(csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI), 0);
  auto field = [](void* data, std::size_t size, void* into) {
    static_cast<Reading*>(into)->row.emplace_back(static_cast<const char*>(data), size);
  };
  auto rowEnd = [](int, void* into) {
    Reading& r = *static_cast<Reading*>(into);
    r.rows.push_back(std::move(r.row));
    r.row.clear();
  };
  EXPECT_EQ(csv_parse(&parser, text.data(), text.size(), field, rowEnd, &reading), text.size())
      << csv_strerror(csv_error(&parser));
  EXPECT_EQ(csv_fini(&parser, field, rowEnd, &reading), 0) << csv_strerror(csv_error(&parser));
  csv_free(&parser);
  return reading.rows;
}

// Splits TSV at tabs and line feeds, undoing the \t, \n, \r and \\ escapes.
Table ParseTsv(const std::string& text) {
  Table rows(1);
  std::string field;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      field += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else if (c == '\t' || c == '\n') {
      rows.back().push_back(field);
      field.clear();
      if (c == '\n') rows.emplace_back();
    } else {
      field += c;
    }
  }
  EXPECT_TRUE(field.empty() && rows.back().empty()) << "the last row ends with a line feed";
  rows.pop_back();
  return rows;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A folder of files whose names a spreadsheet's separators and quotes would break.
struct OddNames {
  ScratchFolder scratch;
  std::string folder = scratch.Folder("odd");
  std::vector<std::string> good, bad;
  OddNames() {
    for (const char* name : {"comma, here.stl", "say \"hi\".stl", "two\nlines.stl", "tab\there.stl",
                             "carriage\rreturn.stl", "back\\slash.stl", "plain.stl"}) {
      fs::copy_file(kTestData + "/solid.stl", folder + "/" + name);
      good.push_back(folder + "/" + name);
    }
    bad.push_back(scratch.Write("odd/bad, \"quoted\".obj", "f 1 2 3\n"));
  }
  std::vector<std::string> Sorted() const {
    std::vector<std::string> all = good;
    all.insert(all.end(), bad.begin(), bad.end());
    std::sort(all.begin(), all.end());
    return all;
  }
};

// Each file's row: its name as it is, ok and the counts, or bad input and why.
void ExpectRows(const Table& table, const OddNames& odd) {
  ASSERT_EQ(table.size(), odd.Sorted().size() + 1);
  EXPECT_EQ(table[0], kHeader);
  for (std::size_t i = 1; i < table.size(); ++i) {
    const std::vector<std::string>& row = table[i];
    ASSERT_EQ(row.size(), kHeader.size()) << i;
    EXPECT_EQ(row[0], odd.Sorted()[i - 1]);
    if (std::find(odd.bad.begin(), odd.bad.end(), row[0]) != odd.bad.end()) {
      EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.end() - 1),
                (std::vector<std::string>{"bad input", "", "", "", "", "", "", "", ""}));
      EXPECT_EQ(row[10].rfind(row[0] + ": ", 0), 0u) << row[10];
    } else {
      EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.end()),
                (std::vector<std::string>{"ok", "6", "6", "5", "5", "0", "0", "1", "1", ""}))
          << row[0];
    }
  }
}

}  // namespace

TEST(ProgramBatchTable, CsvReadsBackWithItsNames) {
  const OddNames odd;
  const ProgramRun run = RunProgram({"--csv", odd.folder});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_EQ(run.err, "");
  ExpectRows(ParseCsv(run.out), odd);
  EXPECT_EQ(Count(run.out, "\r\n"), odd.Sorted().size() + 1) << "records end in CRLF";
  EXPECT_NE(run.out.find("\"" + odd.folder + "/say \"\"hi\"\".stl\""), std::string::npos) << "quotes doubled";
}

TEST(ProgramBatchTable, TsvReadsBackWithItsNames) {
  const OddNames odd;
  const ProgramRun run = RunProgram({"--tsv", odd.folder});
  EXPECT_EQ(run.status, 2) << run.err;
  ExpectRows(ParseTsv(run.out), odd);
  EXPECT_EQ(Count(run.out, "\n"), odd.Sorted().size() + 1) << "one line per row";
  EXPECT_EQ(Count(run.out, "\r"), 0u);
}

// The text table shows the names with their control characters escaped, one line
// per file.
TEST(ProgramBatchTable, TextTableEscapesTheNames) {
  const OddNames odd;
  const ProgramRun run = RunProgram({odd.folder});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(Count(run.out, "\n"), odd.Sorted().size() + 4) << "two header lines, the rows, a gap and the summary";
  EXPECT_NE(run.out.find(odd.folder + "/two\\nlines.stl "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(odd.folder + "/tab\\there.stl "), std::string::npos) << run.out;
}
