// The native JSON scene format:
//
//   {
//     "objects": [
//       {"name": "Robot", "kind": "null", "children": [
//         {"name": "Body", "kind": "cube", "segments": 2},
//         {"name": "Visor", "kind": "polygon", "points": 24, "polygons": 10, "ngons": 2}
//       ]},
//       {"name": "Scan", "kind": "point", "points": 1500}
//     ],
//     "active": "Robot"
//   }
//
// "objects" (required, at least one) lists the top-level objects. Each object has
// a "name" (not empty, without '/') and a "kind", optional "children", and the
// counts of its kind: polygon: "points", "polygons" and optionally "ngons" (0, at
// most "polygons"); point: "points"; cube, sphere, plane: "segments" (at least 1);
// null, camera, instance: none. Counts are whole numbers from 0 to 2147483647.
// "active" (optional) is the path of the active object, such as "Robot/Visor" or
// "Robot/Arm[2]" (scene_path_syntax.h); without it the first top-level object is
// active. Any other key is an error, so a misspelt key does not pass silently.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "json_lines.h"
#include "readers.h"
#include "scene_draft.h"
#include "scene_input.h"

namespace testhost::input {

namespace {

using Json = nlohmann::ordered_json;

struct KindInfo {
  ObjectKind kind;
  std::vector<std::string> required;
  std::vector<std::string> optional;
};

const std::map<std::string, KindInfo> kKinds = {
    {"polygon", {ObjectKind::Polygon, {"points", "polygons"}, {"ngons"}}},
    {"point", {ObjectKind::Point, {"points"}, {}}},
    {"null", {ObjectKind::Null, {}, {}}},
    {"camera", {ObjectKind::Camera, {}, {}}},
    {"instance", {ObjectKind::Instance, {}, {}}},
    {"cube", {ObjectKind::Cube, {"segments"}, {}}},
    {"sphere", {ObjectKind::Sphere, {"segments"}, {}}},
    {"plane", {ObjectKind::Plane, {"segments"}, {}}}};

std::string Quoted(const std::string& key) { return "\"" + key + "\""; }

class SceneReader {
 public:
  SceneReader(std::string file, JsonLines lines) : file_(std::move(file)), lines_(std::move(lines)) {}

  Draft Read(const Json& root) {
    if (!root.is_object()) Fail("", "the scene must be a JSON object, not " + TypeName(root));
    Draft draft;
    for (const auto& [key, value] : root.items())
      if (key != "objects" && key != "active") Fail("/" + key, "unknown key " + Quoted(key) + " (objects, active)");
    if (!root.contains("objects")) Fail("", "the scene has no \"objects\"");
    const Json& objects = root["objects"];
    if (!objects.is_array()) Fail("/objects", "\"objects\" must be an array, not " + TypeName(objects));
    if (objects.empty()) Fail("/objects", "the scene has no objects");
    ReadList(objects, "/objects", draft.roots);
    if (root.contains("active")) {
      const Json& active = root["active"];
      if (!active.is_string()) Fail("/active", "\"active\" must be a path of names, not " + TypeName(active));
      draft.active = active.get<std::string>();
      if (!HasPath(draft, draft.active)) Fail("/active", "no object at the path '" + draft.active + "' to make active");
    }
    return draft;
  }

 private:
  [[noreturn]] void Fail(const std::string& pointer, const std::string& reason) const {
    const auto found = lines_.lines.find(pointer);
    throw InputError(file_, found != lines_.lines.end() ? found->second : 0, reason);
  }

  static std::string TypeName(const Json& value) {
    if (value.is_number_float()) return "a number with a fraction";
    const std::string name = value.type_name();
    return (name == "array" || name == "object" ? "an " : "a ") + name;
  }

  // Recursive: ScanJson has already refused nesting deeper than kMaxDepth objects.
  void ReadList(const Json& list, const std::string& pointer, std::vector<DraftObject>& out) {
    for (std::size_t i = 0; i < list.size(); ++i) out.push_back(ReadObject(list[i], pointer + "/" + std::to_string(i)));
  }

  DraftObject ReadObject(const Json& value, const std::string& pointer) {
    if (!value.is_object()) Fail(pointer, "an object must be a JSON object, not " + TypeName(value));
    DraftObject object;
    object.name = Text(value, pointer, "name");
    if (object.name.empty()) Fail(pointer + "/name", "\"name\" is empty");
    if (object.name.find('/') != std::string::npos) Fail(pointer + "/name", "\"name\" '" + object.name + "' contains '/'");
    const std::string kind = Text(value, pointer, "kind");
    const auto found = kKinds.find(kind);
    if (found == kKinds.end()) {
      std::string list;
      for (const auto& [name, info] : kKinds) list += (list.empty() ? "" : ", ") + name;
      Fail(pointer + "/kind", "unknown kind '" + kind + "' (one of " + list + ")");
    }
    const KindInfo& info = found->second;
    object.kind = info.kind;
    for (const auto& [key, member] : value.items()) {
      const bool counted = std::count(info.required.begin(), info.required.end(), key) +
                               std::count(info.optional.begin(), info.optional.end(), key) != 0;
      if (key == "name" || key == "kind" || counted) continue;
      if (key == "children") {
        if (!member.is_array()) Fail(pointer + "/children", "\"children\" must be an array, not " + TypeName(member));
        ReadList(member, pointer + "/children", object.children);
      } else if (key == "points" || key == "polygons" || key == "ngons" || key == "segments") {
        Fail(pointer + "/" + key, Quoted(key) + " does not belong to a " + kind + " object");
      } else {
        Fail(pointer + "/" + key, "unknown key " + Quoted(key));
      }
    }
    for (const std::string& key : info.required)
      if (!value.contains(key)) Fail(pointer, "the " + kind + " object '" + object.name + "' has no " + Quoted(key));
    object.points = Count(value, pointer, "points");
    object.polygons = Count(value, pointer, "polygons");
    object.ngons = Count(value, pointer, "ngons");
    object.segments = value.contains("segments") ? Count(value, pointer, "segments") : 1;
    if (object.ngons > object.polygons)
      Fail(pointer + "/ngons", "\"ngons\" " + std::to_string(object.ngons) + " are more than \"polygons\" " +
                                   std::to_string(object.polygons));
    if (object.segments < 1) Fail(pointer + "/segments", "\"segments\" must be at least 1");
    return object;
  }

  std::string Text(const Json& object, const std::string& pointer, const std::string& key) const {
    if (!object.contains(key)) Fail(pointer, "an object has no " + Quoted(key));
    const Json& value = object[key];
    if (!value.is_string()) Fail(pointer + "/" + key, Quoted(key) + " must be a string, not " + TypeName(value));
    return value.get<std::string>();
  }

  // A count: a whole number from 0 to the largest Int32; 0 when absent.
  std::int32_t Count(const Json& object, const std::string& pointer, const std::string& key) const {
    if (!object.contains(key)) return 0;
    const Json& value = object[key];
    const std::string at = pointer + "/" + key;
    // Whole numbers past 64 bits arrive as floating point.
    if (const double number = value.is_number_float() ? value.get<double>() : 0; std::abs(number) >= 0x1p63)
      Fail(at, Quoted(key) + " is " + (number < 0 ? "negative" : "too large"));
    if (!value.is_number_integer()) Fail(at, Quoted(key) + " must be a whole number, not " + TypeName(value));
    if (value.is_number_unsigned()) {
      const auto count = value.get<std::uint64_t>();
      if (count > INT32_MAX) Fail(at, Quoted(key) + " " + std::to_string(count) + " is too large");
      return static_cast<std::int32_t>(count);
    }
    const auto count = value.get<std::int64_t>();
    if (count < 0) Fail(at, Quoted(key) + " " + std::to_string(count) + " is negative");
    if (count > INT32_MAX) Fail(at, Quoted(key) + " " + std::to_string(count) + " is too large");
    return static_cast<std::int32_t>(count);
  }

  std::string file_;
  JsonLines lines_;
};

}  // namespace

Document* LoadJsonScene(Scene& scene, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw InputError(file, 0, "cannot be read");
  // Each level of objects is an array and an object, under the document's own object.
  JsonLines lines = ScanJson(text.str(), 2 * kMaxDepth + 2);
  if (!lines.error.empty()) throw InputError(file, lines.errorLine, lines.error);
  const Json root = Json::parse(text.str());
  const Draft draft = SceneReader(file, std::move(lines)).Read(root);
  return Build(scene, draft);
}

}  // namespace testhost::input
