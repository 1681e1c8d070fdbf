// Our totals for real 3D files against what the importer's own tool reports for
// them (`assimp info`, Debian's assimp-utils, on the models of assimp-testmodels).
//
// The tool reads each file twice here:
// - raw (`assimp info FILE -r`): no post-processing, as the loader reads it. It
//   lists every mesh (vertices, faces, primitive types) and which nodes use which
//   meshes, and its totals count every mesh once.
// - processed (`assimp info FILE`): triangulated, identical vertices joined,
//   degenerate faces turned into lines, normals generated.
//
// What has to agree, per file:
// - polygons: the raw faces of every mesh use made of triangles or polygons (a
//   mesh used by two nodes counts twice; the tool's total counts it once); meshes
//   of points or lines add none and become point objects; a mesh mixing both adds
//   fewer polygons than faces;
// - objects: one per node, plus one per mesh of a node that has several;
// - n-gons: none when every mesh is triangles; otherwise triangulation makes at
//   least polygons + 2 x n-gons triangles (a face of n corners makes n - 2);
// - points, by the rule stated for the file (Rule below): always at most the raw
//   vertices of every mesh use, as they are distinct positions among those.
// The table printed at the end lists both sides for every file; -1 is a count the
// tool did not print (its processed read refuses a point cloud).
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>

#include "scene_input_fixture.h"

using testhost::ObjectKind;
using testhost::SceneObject;

namespace scene_input_test {
namespace {

enum class Rule {
  kStoredOnce,  // no mesh repeats a position among its vertices: points == raw vertices
  kCopiesJoin,  // corner copies carry equal normals and uvs: points == processed (joined) vertices
  kSeams,       // copies differ in normals or uvs: points < processed vertices
};

const char* RuleText(Rule rule) {
  switch (rule) {
    case Rule::kStoredOnce: return "points = raw vertices (no repeats)";
    case Rule::kCopiesJoin: return "points = joined vertices < raw";
    case Rule::kSeams: return "points < joined vertices (seams)";
  }
  return "";
}

struct ModelFile {
  const char* path;  // under the test models, or our own test data when it starts with '@'
  const char* format;
  Rule rule;
};

struct ToolMesh {
  long vertices = 0, faces = 0;
  bool polygons = false, pointsOrLines = false;  // primitive types it holds
  bool trianglesOnly = true;
};

struct ToolReport {
  long nodes = -1, vertices = -1, faces = -1;
  std::vector<ToolMesh> meshes;
  std::vector<std::vector<int>> nodeMeshes;  // per node listed in the hierarchy
};

std::string RunTool(const std::string& file, bool raw) {
  std::string command = "'";
  command.append(STATLUME_ASSIMP_TOOL).append("' info '").append(file).append("'");
  command.append(raw ? " -r 2>&1" : " 2>&1");
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[4096];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  return output;
}

long Number(const std::string& line) { return std::stol(line.substr(line.find(':') + 1)); }

// "├╴Panel (mesh 0, 1)": the meshes a node uses.
std::vector<int> MeshesOfNode(const std::string& line) {
  std::vector<int> used;
  const std::size_t at = line.rfind("(mesh ");
  if (at == std::string::npos) return used;
  std::istringstream list(line.substr(at + 6));
  int index = 0;
  char separator = 0;
  while (list >> index) {
    used.push_back(index);
    list >> separator;
  }
  return used;
}

ToolReport ParseTool(const std::string& output) {
  ToolReport report;
  std::istringstream lines(output);
  std::string line;
  bool inMeshes = false, inNodes = false;
  while (std::getline(lines, line)) {
    if (line.rfind("Nodes:", 0) == 0) report.nodes = Number(line);
    if (line.rfind("Vertices:", 0) == 0) report.vertices = Number(line);
    if (line.rfind("Faces:", 0) == 0) report.faces = Number(line);
    if (line.rfind("Meshes:  (name)", 0) == 0) {
      inMeshes = true;
      continue;
    }
    if (line.rfind("Node hierarchy:", 0) == 0) {  // the root's line comes first, empty when it has no name
      inNodes = true;
      std::getline(lines, line);
      report.nodeMeshes.push_back(MeshesOfNode(line));
      continue;
    }
    if (inMeshes && line.empty()) inMeshes = false;
    const std::size_t open = line.rfind('[');
    if (inMeshes && open != std::string::npos) {  // "    0 (name): [24 / 0 / 6 | triangle polygon]"
      ToolMesh mesh;
      long bones = 0;
      char types[256] = {};
      std::sscanf(line.c_str() + open, "[%ld / %ld / %ld | %255[^]]", &mesh.vertices, &bones, &mesh.faces, types);
      const std::string kinds = types;
      mesh.polygons = kinds.find("triangle") != std::string::npos || kinds.find("polygon") != std::string::npos;
      mesh.pointsOrLines = kinds.find("point") != std::string::npos || kinds.find("line") != std::string::npos;
      mesh.trianglesOnly = kinds == "triangle";
      report.meshes.push_back(mesh);
    }
    if (inNodes && !line.empty()) report.nodeMeshes.push_back(MeshesOfNode(line));
  }
  return report;
}

struct Ours {
  Totals totals;
  long pointObjects = 0;
};

void CountPointObjects(const SceneObject* object, long& count) {
  for (; object != nullptr; object = object->next) {
    count += object->kind == ObjectKind::Point;
    CountPointObjects(object->firstChild, count);
  }
}

const ModelFile kModels[] = {
    {"OBJ/box.obj", "OBJ", Rule::kCopiesJoin},
    {"OBJ/concave_polygon.obj", "OBJ", Rule::kCopiesJoin},
    {"OBJ/spider.obj", "OBJ", Rule::kSeams},
    {"OBJ/testmixed.obj", "OBJ", Rule::kSeams},
    {"@shapes.obj", "OBJ", Rule::kSeams},
    {"@two_materials.obj", "OBJ", Rule::kStoredOnce},
    {"glTF2/BoxTextured-glTF/BoxTextured.gltf", "glTF", Rule::kSeams},
    {"@rig.gltf", "glTF", Rule::kStoredOnce},
    {"glTF2/BoxTextured-glTF-Binary/BoxTextured.glb", "GLB", Rule::kSeams},
    {"glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb", "GLB", Rule::kSeams},
    {"PLY/cube.ply", "PLY", Rule::kStoredOnce},
    {"PLY/points.ply", "PLY", Rule::kStoredOnce},
    {"STL/3DSMaxExport.STL", "STL", Rule::kSeams},
    {"STL/Spider_ascii.stl", "STL", Rule::kSeams},
    {"FBX/box.fbx", "FBX", Rule::kSeams},
    {"FBX/cubes_with_names.fbx", "FBX", Rule::kSeams},
    {"Collada/duck.dae", "COLLADA", Rule::kSeams},
    {"Collada/teapot_instancenodes.DAE", "COLLADA", Rule::kSeams},
    {"3DS/fels.3ds", "3DS", Rule::kCopiesJoin},
    {"3DS/test1.3ds", "3DS", Rule::kSeams},
};

class CrossCheckTest : public SceneInputTest {};

TEST_F(CrossCheckTest, TotalsAgreeWithTheImportersTool) {
  std::string table =
      "file                                                 format   polygons   points  ngons objects | faces vertices joined triangles | rule\n";
  for (const ModelFile& model : kModels) {
    const std::string path = model.path[0] == '@' ? std::string(STATLUME_IMPORT_DATA_DIR "/") + (model.path + 1)
                                                  : std::string(STATLUME_ASSIMP_MODELS_DIR "/") + model.path;
    SCOPED_TRACE(path);
    const ToolReport raw = ParseTool(RunTool(path, true));
    const ToolReport processed = ParseTool(RunTool(path, false));
    ASSERT_GT(raw.faces + raw.vertices, 0) << "the tool read nothing";
    ASSERT_EQ(raw.nodeMeshes.size(), static_cast<std::size_t>(raw.nodes)) << "the hierarchy was not read";

    testhost::Document* document = Load(path);
    Ours ours{TotalsOf(document->firstRoot), 0};
    CountPointObjects(document->firstRoot, ours.pointObjects);

    long polygons = 0, polygonsAtMost = 0, vertices = 0, objects = 0, pointMeshes = 0, uses = 0;
    bool trianglesOnly = true;
    std::set<int> used;
    for (const std::vector<int>& node : raw.nodeMeshes) {
      objects += 1 + (node.size() > 1 ? static_cast<long>(node.size()) : 0);
      for (int index : node) {
        ASSERT_LT(static_cast<std::size_t>(index), raw.meshes.size());
        const ToolMesh& mesh = raw.meshes[static_cast<std::size_t>(index)];
        if (mesh.polygons && !mesh.pointsOrLines) polygons += mesh.faces;
        if (mesh.polygons) polygonsAtMost += mesh.faces;
        pointMeshes += !mesh.polygons;
        trianglesOnly = trianglesOnly && (mesh.trianglesOnly || !mesh.polygons);
        vertices += mesh.vertices;
        used.insert(index);
        ++uses;
      }
    }
    EXPECT_GE(ours.totals.polygons, polygons);
    EXPECT_LE(ours.totals.polygons, polygonsAtMost);
    if (polygons == polygonsAtMost) {
      EXPECT_EQ(ours.totals.polygons, polygons) << "polygons = raw faces per use";
    }
    EXPECT_EQ(ours.totals.objects, objects) << "one object per node, one more per mesh of a node with several";
    EXPECT_EQ(ours.pointObjects, pointMeshes) << "meshes of points or lines become point objects";
    if (trianglesOnly) {
      EXPECT_EQ(ours.totals.ngons, 0);
    }
    const bool shared = static_cast<std::size_t>(uses) != used.size();
    if (ours.totals.ngons > 0 && !shared) {
      EXPECT_GE(processed.faces, ours.totals.polygons + 2 * ours.totals.ngons) << "triangles from n-gons";
    }

    EXPECT_LE(ours.totals.points, vertices) << "points are distinct positions among the raw vertices";
    // The processed count holds each mesh once; with shared meshes only the bound
    // by the raw vertices of every use is comparable.
    switch (model.rule) {
      case Rule::kStoredOnce: EXPECT_EQ(ours.totals.points, vertices); break;
      case Rule::kCopiesJoin:
        EXPECT_FALSE(shared);
        EXPECT_LT(ours.totals.points, vertices);
        EXPECT_EQ(ours.totals.points, processed.vertices);
        break;
      case Rule::kSeams:
        if (!shared) {
          EXPECT_LT(ours.totals.points, processed.vertices);
        }
        break;
    }

    char row[512];
    std::snprintf(row, sizeof row, "%-52s %-7s %9lld %8lld %6lld %7lld | %5ld %8ld %6ld %9ld | %s%s\n",
                  (model.path[0] == '@' ? std::string("(test data) ") + (model.path + 1) : std::string(model.path))
                      .substr(0, 52)
                      .c_str(),
                  model.format, static_cast<long long>(ours.totals.polygons), static_cast<long long>(ours.totals.points),
                  static_cast<long long>(ours.totals.ngons), static_cast<long long>(ours.totals.objects), raw.faces,
                  raw.vertices, processed.vertices, processed.faces, RuleText(model.rule),
                  shared ? "; shared meshes: raw bound only" : "");
    table += row;
  }
  std::printf("\nOur totals against `assimp info` (faces, vertices: raw; joined, triangles: processed)\n%s\n",
              table.c_str());
}

}  // namespace
}  // namespace scene_input_test
