// Reads what a file's process printed with --json: its state document, or the
// error it ended with.
#include "file_process.h"

#include <signal.h>
#include <string.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace batch {

using nlohmann::json;

namespace {

const std::string kPrefix = "statlume-host: ";
constexpr const char* kRowKeys[] = {"polygons", "points", "ngons", "objects"};

std::string Dumped(const json& document) {
  return document.dump(-1, ' ', false, json::error_handler_t::replace);
}

// The program's message in the process's standard error, on one line: the first
// line it wrote with its name, and the indented lines that go with it (the host's
// faults), joined. Lines before it (a sanitizer's or a library's) stay out.
std::string Message(const std::string& err) {
  std::istringstream lines(err);
  std::string message;
  bool inMessage = false;
  for (std::string line; std::getline(lines, line);) {
    if (!inMessage && line.rfind(kPrefix, 0) == 0) {
      message = line.substr(kPrefix.size());
      inMessage = true;
    } else if (inMessage && line.rfind("  ", 0) == 0) {
      const std::string part = line.substr(line.find_first_not_of(' '));
      message += (message.back() == ':' ? " " : "; ") + part;
    } else if (inMessage) {
      break;
    }
  }
  return message;
}

// A field's number as the dialog shows it: the state's count of the column
// ("currentCount"), else its text when that is a number; empty when it shows none.
std::string Count(const json& field, const std::string& column) {
  const json count = field.value(column + "Count", json());
  if (count.is_number_integer()) return std::to_string(count.get<long long>());
  const json text = field.value(column, json());
  if (!text.is_string()) return "";
  const std::string shown = text.get<std::string>();
  return !shown.empty() && shown.find_first_not_of("0123456789") == std::string::npos ? shown : "";
}

std::string SignalName(int number) {
  const char* abbreviation = sigabbrev_np(number);
  return abbreviation != nullptr ? std::string("SIG") + abbreviation : "signal " + std::to_string(number);
}

}  // namespace

FileRow RowOf(const std::string& file, const FileProcessEnd& end, const std::string& plugin) {
  FileRow row;
  row.file = file;
  json state, problem;  // the first state document, the last error object
  std::istringstream lines(end.out);
  for (std::string line; std::getline(lines, line);) {
    const json document = json::parse(line, nullptr, false);
    if (!document.is_object()) continue;
    if (document.contains("fields") && state.is_null()) state = document;
    if (document.contains("error")) problem = document;
  }
  if (end.exitStatus == 0 && state.is_object()) {
    for (std::size_t i = 0; i < 4; ++i) {
      const json& field = state.at("fields").value(kRowKeys[i], json::object());
      row.fields[2 * i] = Count(field, "current");
      row.fields[2 * i + 1] = Count(field, "editable");
    }
    state["file"] = file;
    row.json = Dumped(state);
    return row;
  }
  if (!end.startProblem.empty()) {
    row.outcome = Outcome::kCrashed;
    row.status = 1;
    row.error = file + ": its process could not be started: " + end.startProblem;
  } else if (end.signal != 0) {
    row.outcome = Outcome::kCrashed;
    row.status = 1;
    row.error = file + ": its process was ended by " + SignalName(end.signal) + " (" + strsignal(end.signal) + ")";
  } else {
    row.status = end.exitStatus == 2 ? 2 : 1;
    row.error = Message(end.err);
    if (row.error.empty() && problem.is_object() && problem["error"].is_string()) row.error = problem["error"];
    if (row.error.empty())
      row.error = file + ": its process ended with status " + std::to_string(end.exitStatus) +
                  (end.exitStatus == 0 ? " and no counts" : "");
    row.outcome = problem.is_object() && problem.contains("signal") ? Outcome::kCrashed
                  : row.status == 2                                   ? Outcome::kBadInput
                                                                      : Outcome::kPluginFault;
  }
  json error = problem.is_object() ? problem : json::object();
  if (end.signal != 0) {  // what the process was doing then is not known
    error["signal"] = SignalName(end.signal);
    error["during"] = "";
    error["plugin"] = plugin;
  }
  error["error"] = row.error;
  error["status"] = row.status;
  error["file"] = file;
  row.json = Dumped(error);
  return row;
}

FileRow RefusedRow(const std::string& file, const std::string& problem) {
  FileRow row;
  row.file = file;
  row.outcome = Outcome::kBadInput;
  row.status = 2;
  row.error = problem;
  row.json = Dumped(json{{"error", problem}, {"status", 2}, {"file", file}});
  return row;
}

}  // namespace batch
