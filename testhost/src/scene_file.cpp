#include "testhost/scene_file.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <map>
#include <vector>

namespace testhost {

namespace {

struct KindInfo {
  ObjectKind kind;
  std::vector<const char*> numbers;  // what the numbers after the kind are
};

const std::map<std::string, KindInfo> kKinds = {
    {"polygon", {ObjectKind::Polygon, {"points", "polygons", "n-gons"}}},
    {"point", {ObjectKind::Point, {"points"}}},
    {"null", {ObjectKind::Null, {}}},
    {"camera", {ObjectKind::Camera, {}}},
    {"instance", {ObjectKind::Instance, {}}},
    {"cube", {ObjectKind::Cube, {"segments"}}},
    {"sphere", {ObjectKind::Sphere, {"segments"}}},
    {"plane", {ObjectKind::Plane, {"segments"}}}};

// One object line, checked; `parent` indexes the entries read before it.
struct Entry {
  std::string name;
  ObjectKind kind = ObjectKind::Null;
  std::int32_t numbers[3] = {0, 0, 0};
  int parent = -1;
};

class LineReader {
 public:
  LineReader(const std::string& file, int line) : file_(file), line_(line) {}
  [[noreturn]] void Fail(const std::string& reason) const { throw SceneFileError(file_, line_, reason); }

  // A count: a whole number from 0 to the largest Int32.
  std::int32_t Count(const std::string& word, const char* what) const {
    std::int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error == std::errc::result_out_of_range) Fail(std::string(what) + " " + word + " is too large");
    if (error != std::errc() || stop != end) Fail(std::string(what) + " '" + word + "' is not a whole number");
    if (value < 0) Fail(std::string(what) + " " + word + " is negative");
    if (value > INT32_MAX) Fail(std::string(what) + " " + word + " is too large");
    return static_cast<std::int32_t>(value);
  }

 private:
  const std::string& file_;
  int line_;
};

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
    const std::size_t end = text.find_first_of(" \t", at);
    words.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end;
  }
  return words;
}

std::string KindList() {
  std::string list;
  for (const auto& [name, info] : kKinds) list += (list.empty() ? "" : ", ") + name;
  return list;
}

// The level of an object line from its indent; `levels` is the number of levels
// open above it.
std::size_t Level(const LineReader& reader, const std::string& line, std::size_t indent, std::size_t levels) {
  if (line.find('\t') < indent) reader.Fail("indented with a tab; indent with two spaces per level");
  if (indent % 2 != 0) reader.Fail("indent of " + std::to_string(indent) + " spaces is not a multiple of two");
  const std::size_t level = indent / 2;
  if (level > levels) {
    if (levels == 0) reader.Fail("indented, but there is no object above to hold it");
    reader.Fail("indented " + std::to_string(level - levels + 1) + " levels below the object above (one at most)");
  }
  return level;
}

Entry ReadObject(const LineReader& reader, const std::vector<std::string>& words) {
  Entry entry;
  entry.name = words[0];
  if (entry.name.find('/') != std::string::npos) reader.Fail("object name '" + entry.name + "' contains '/'");
  if (words.size() < 2) reader.Fail("object '" + entry.name + "' has no kind");
  const auto found = kKinds.find(words[1]);
  if (found == kKinds.end()) reader.Fail("unknown kind '" + words[1] + "' (one of " + KindList() + ")");
  const KindInfo& info = found->second;
  entry.kind = info.kind;
  const std::size_t wanted = info.numbers.size();
  const std::size_t given = words.size() - 2;
  if (given < wanted) {
    std::string names;
    for (const char* name : info.numbers) names += std::string(names.empty() ? "" : " ") + name;
    reader.Fail(words[1] + " needs " + std::to_string(wanted) + (wanted == 1 ? " number (" : " numbers (") + names +
                "), found " + std::to_string(given));
  }
  if (given > wanted) reader.Fail("unexpected '" + words[2 + wanted] + "' after " + (wanted == 0 ? "the kind" : "the numbers"));
  for (std::size_t i = 0; i < wanted; ++i) entry.numbers[i] = reader.Count(words[2 + i], info.numbers[i]);
  if (entry.kind == ObjectKind::Polygon && entry.numbers[2] > entry.numbers[1])
    reader.Fail("n-gons " + std::to_string(entry.numbers[2]) + " are more than polygons " + std::to_string(entry.numbers[1]));
  if (IsGenerator(entry.kind) && entry.numbers[0] < 1) reader.Fail("segments must be at least 1");
  return entry;
}

SceneObject* Make(Scene& scene, Document* document, const Entry& entry, SceneObject* parent) {
  // The numbers stand in the order the kind's line gives them.
  ObjectShape shape;
  if (entry.kind == ObjectKind::Polygon) shape = {entry.numbers[0], entry.numbers[1], entry.numbers[2], 1};
  if (entry.kind == ObjectKind::Point) shape.points = entry.numbers[0];
  if (IsGenerator(entry.kind)) shape.segments = entry.numbers[0];
  return scene.AddObject(document, entry.kind, shape, parent);
}

SceneObject* Find(SceneObject* first, const std::string& name) {
  for (SceneObject* object = first; object != nullptr; object = object->next) {
    if (object->name == name) return object;
    if (SceneObject* found = Find(object->firstChild, name)) return found;
  }
  return nullptr;
}

}  // namespace

SceneFileError::SceneFileError(std::string file, int line, std::string reason)
    : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + reason),
      file_(std::move(file)),
      line_(line),
      reason_(std::move(reason)) {}

SceneObject* FindObject(Document* document, const std::string& name) { return Find(document->firstRoot, name); }

Document* LoadSceneFile(Scene& scene, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SceneFileError(file, 0, "cannot be read");
  std::vector<Entry> entries;
  std::vector<int> open;  // the entry holding each open level
  int active = -1, activeLine = 0;
  std::string activeName;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // written on Windows
    const LineReader reader(file, number);
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const std::vector<std::string> words = Words(line);
    if (words[0] == "active") {
      if (activeLine != 0) reader.Fail("a second active line (the first is line " + std::to_string(activeLine) + ")");
      if (words.size() != 2) reader.Fail("active needs one object name");
      activeName = words[1];
      activeLine = number;
      continue;
    }
    const std::size_t level = Level(reader, line, start, open.size());
    Entry entry = ReadObject(reader, words);
    open.resize(level);
    entry.parent = open.empty() ? -1 : open.back();
    open.push_back(static_cast<int>(entries.size()));
    entries.push_back(std::move(entry));
  }
  if (in.bad()) throw SceneFileError(file, 0, "cannot be read");
  if (entries.empty()) throw SceneFileError(file, 0, "the scene has no objects");
  if (activeLine != 0) {
    for (std::size_t i = 0; i < entries.size() && active < 0; ++i)
      if (entries[i].name == activeName) active = static_cast<int>(i);
    if (active < 0) throw SceneFileError(file, activeLine, "no object '" + activeName + "' to make active");
  }

  Document* document = scene.NewDocument();
  scene.SetActiveDocument(document);
  std::vector<SceneObject*> made;
  for (const Entry& entry : entries) {
    SceneObject* object = Make(scene, document, entry, entry.parent < 0 ? nullptr : made[static_cast<std::size_t>(entry.parent)]);
    object->name = entry.name;
    made.push_back(object);
  }
  scene.SetActive(document, made[static_cast<std::size_t>(active < 0 ? 0 : active)]);
  return document;
}

}  // namespace testhost
