#include "row_printer.h"

#include <algorithm>
#include <iomanip>

#include "printable.h"

namespace batch {

namespace {

constexpr const char* kGroups[] = {"Polygons", "Points", "N-Gons", "Objects"};
constexpr int kCellWidth = 10;  // a count up to 999 999 999 and a space before it

// Characters on the screen, not bytes: UTF-8 continuation bytes take no room.
std::size_t DisplayWidth(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text, std::size_t width) {
  const std::size_t used = DisplayWidth(text);
  return used >= width ? text : text + std::string(width - used, ' ');
}

std::string Centred(const std::string& text, std::size_t width) {
  if (text.size() >= width) return text;
  const std::size_t left = (width - text.size()) / 2;
  return std::string(left, ' ') + text + std::string(width - text.size() - left, ' ');
}

}  // namespace

RowPrinter::RowPrinter(std::ostream& out, cli::TableFormat format, bool json, const std::vector<std::string>& files)
    : out_(out), format_(format), json_(json), fileWidth_(4) {
  for (const std::string& file : files) fileWidth_ = std::max(fileWidth_, DisplayWidth(cli::Printable(file)));
}

void RowPrinter::Header() {
  if (json_) return;
  if (format_ == cli::TableFormat::kText) {
    std::string groups(fileWidth_, ' ');
    for (const char* group : kGroups) groups += "  " + Centred(group, 2 * kCellWidth);
    out_ << groups.substr(0, groups.find_last_not_of(' ') + 1) << "\n" << Padded("File", fileWidth_);
    for (int group = 0; group < 4; ++group)
      out_ << "  " << std::setw(kCellWidth) << "Current" << std::setw(kCellWidth) << "Editable";
    out_ << "\n";
    return;
  }
  const char* separator = format_ == cli::TableFormat::kCsv ? "," : "\t";
  out_ << "file" << separator << "status";
  for (const char* column : kFieldColumns) out_ << separator << column;
  out_ << separator << "error" << (format_ == cli::TableFormat::kCsv ? "\r\n" : "\n");
}

void RowPrinter::Row(const FileRow& row) {
  if (json_) {
    out_ << row.json << "\n";
  } else if (format_ == cli::TableFormat::kText) {
    out_ << Padded(cli::Printable(row.file), fileWidth_);
    if (row.outcome == Outcome::kCounted) {
      for (int field = 0; field < kFieldCount; ++field)
        out_ << (field % 2 == 0 ? "  " : "") << std::setw(kCellWidth) << row.fields[static_cast<std::size_t>(field)];
    } else {
      // The row names the file already: the reason goes without it.
      const std::string named = cli::Printable(row.file) + ": ", reason = cli::Printable(row.error);
      out_ << "  " << OutcomeWord(row.outcome) << ": " << (reason.rfind(named, 0) == 0 ? reason.substr(named.size()) : reason);
    }
    out_ << "\n";
  } else {
    const bool csv = format_ == cli::TableFormat::kCsv;
    auto field = [csv](const std::string& text) { return csv ? CsvField(text) : TsvField(text); };
    const char separator = csv ? ',' : '\t';
    out_ << field(row.file) << separator << field(OutcomeWord(row.outcome));
    for (const std::string& count : row.fields) out_ << separator << count;
    out_ << separator << field(row.error) << (csv ? "\r\n" : "\n");
  }
  out_.flush();  // a long run shows each row as it comes, also into a pipe
}

void RowPrinter::Summary(const std::vector<FileRow>& rows) {
  if (json_ || format_ != cli::TableFormat::kText) return;
  out_ << "\n" << rows.size() << (rows.size() == 1 ? " file" : " files");
  const char* separator = ": ";
  for (Outcome outcome : {Outcome::kCounted, Outcome::kBadInput, Outcome::kPluginFault, Outcome::kCrashed}) {
    const auto count = std::count_if(rows.begin(), rows.end(), [outcome](const FileRow& row) { return row.outcome == outcome; });
    if (count == 0) continue;
    out_ << separator << count << " " << OutcomeWord(outcome);
    separator = ", ";
  }
  out_ << "\n";
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string TsvField(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '\t': escaped += "\\t"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\\': escaped += "\\\\"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace batch
