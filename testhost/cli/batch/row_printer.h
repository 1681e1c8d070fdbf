#pragma once
// The rows of a run over several files as the user asked for them: a text table
// to read, CSV or TSV for a spreadsheet, or one JSON document per file. Rows are
// printed one at a time, as soon as every row before them is known.
#include <ostream>
#include <string>
#include <vector>

#include "file_row.h"
#include "options.h"

namespace batch {

class RowPrinter {
 public:
  // `files` are every file of the run, for the width of the text table's first
  // column; `json` prints each row's JSON document instead of a table.
  RowPrinter(std::ostream& out, cli::TableFormat format, bool json, const std::vector<std::string>& files);

  void Header();
  void Row(const FileRow& row);
  // The text table's closing line: how many files ended how.
  void Summary(const std::vector<FileRow>& rows);

 private:
  std::ostream& out_;
  cli::TableFormat format_;
  bool json_;
  std::size_t fileWidth_ = 0;
};

// A CSV field as RFC 4180 writes it: in double quotes, with quotes doubled, when
// it holds a comma, a double quote, a carriage return or a line feed.
std::string CsvField(const std::string& text);
// A TSV field: tab, line feed, carriage return and backslash written as \t, \n,
// \r and \\, so that a field never splits a row and reads back unchanged.
std::string TsvField(const std::string& text);

}  // namespace batch
