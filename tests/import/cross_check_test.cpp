// Our counts for real 3D files against what the importer's own tool reports for
// them (`assimp info`, Debian's assimp-utils, on the models of assimp-testmodels).
//
// The tool reads each file twice here:
// - raw (`assimp info FILE -r`): no post-processing, as the loader reads it. It
//   lists every mesh (vertices, faces, primitive types) and the node hierarchy
//   with the meshes each node uses; its totals count every mesh once.
// - processed (`assimp info FILE`): triangulated, identical vertices joined,
//   degenerate faces turned into lines, normals generated.
//
// The tool lists meshes, and the importer splits a node's shape into several (one
// per material, per glTF primitive, per primitive type); we count a node's meshes
// as one object. So the comparison goes node by node, each node of the tool's
// hierarchy against the object at the same place in ours:
// - objects: one per node, named as the node (the root named after the file),
//   except the nodes in which the importer wraps the file's own geometry below the
//   root (an STL's single solid, an OBJ's faces outside any group), whose meshes
//   count as the root's;
// - kind: a null (or camera) object for a node without meshes, a polygon object
//   when one of its meshes holds triangles or polygons, else a point object;
// - polygons: the raw faces of its meshes (a mesh mixing points or lines with
//   polygons adds fewer polygons than faces);
// - points: at most the raw vertices of its meshes, as they are distinct positions
//   among those; where the node's meshes are copies of one position array (glTF
//   primitives), at most the vertices of its largest mesh.
// And over the file: no n-gons when every mesh is triangles, else triangulation
// makes at least polygons + 2 x n-gons triangles (a face of n corners makes
// n - 2); points by the rule stated for the file (Rule below). A mesh used by
// several nodes counts under each, where the tool's totals count it once.
// The table printed at the end lists both sides for every file; -1 is a count the
// tool did not print (its processed read refuses a point cloud).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "scene_input_fixture.h"

using testhost::ObjectKind;
using testhost::SceneObject;

namespace scene_input_test {
namespace {

enum class Rule {
  kStoredOnce,       // every vertex a position of its own, and used: points == raw vertices
  kCopiesJoin,       // corner copies carry equal normals and uvs: points == processed (joined) vertices
  kSeams,            // copies differ in normals or uvs: points < processed vertices
  kSplitByMaterial,  // a node's meshes each copy the corners they share: points < raw vertices
  kSharedArray,      // a node's meshes each copy one whole position array: points < raw vertices
};

const char* RuleText(Rule rule) {
  switch (rule) {
    case Rule::kStoredOnce: return "points = raw vertices (no repeats)";
    case Rule::kCopiesJoin: return "points = joined vertices < raw";
    case Rule::kSeams: return "points < joined vertices (seams)";
    case Rule::kSplitByMaterial: return "points < raw vertices (meshes per material)";
    case Rule::kSharedArray: return "points < raw vertices (one array per node)";
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

struct ToolNode {
  std::string name;
  std::vector<int> meshes;
  std::vector<ToolNode> children;
};

struct ToolReport {
  long nodes = -1, vertices = -1, faces = -1;
  std::vector<ToolMesh> meshes;
  ToolNode root;
  long nodesListed = 0;
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

// "│ ├╴Panel (mesh 0, 1)": two characters of tree per level, the name, the meshes.
ToolNode NodeOfLine(const std::string& line, std::size_t& depth) {
  static const std::string kBranch = "╴";
  const std::size_t branch = line.find(kBranch);
  const std::size_t start = branch == std::string::npos ? 0 : branch + kBranch.size();
  depth = static_cast<std::size_t>(
              std::count_if(line.begin(), line.begin() + static_cast<long>(start),
                            [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })) /
          2;
  ToolNode node;
  std::size_t end = line.size();
  const std::size_t at = line.rfind(" (mesh ");
  if (at != std::string::npos && at >= start && line.back() == ')') {
    end = at;
    std::istringstream list(line.substr(at + 7));
    int index = 0;
    char separator = 0;
    while (list >> index) {
      node.meshes.push_back(index);
      list >> separator;
    }
  }
  node.name = line.substr(start, end - start);
  return node;
}

void ReadHierarchy(std::istringstream& lines, ToolReport& report) {
  std::vector<ToolNode*> ancestors;  // from the root to the last node read
  for (std::string line; std::getline(lines, line) && !(line.empty() && !ancestors.empty());) {
    std::size_t depth = 0;
    ToolNode node = NodeOfLine(line, depth);
    ++report.nodesListed;
    if (ancestors.empty()) {  // the root's line, empty when it has no name
      report.root = std::move(node);
      ancestors.push_back(&report.root);
      continue;
    }
    if (depth == 0 || depth > ancestors.size()) {
      ADD_FAILURE() << "cannot place the node line '" << line << "'";
      return;
    }
    ancestors.resize(depth);
    ancestors.back()->children.push_back(std::move(node));
    ancestors.push_back(&ancestors.back()->children.back());
  }
}

ToolReport ParseTool(const std::string& output) {
  ToolReport report;
  std::istringstream lines(output);
  std::string line;
  bool inMeshes = false;
  while (std::getline(lines, line)) {
    if (line.rfind("Nodes:", 0) == 0) report.nodes = Number(line);
    if (line.rfind("Vertices:", 0) == 0) report.vertices = Number(line);
    if (line.rfind("Faces:", 0) == 0) report.faces = Number(line);
    if (line.rfind("Meshes:  (name)", 0) == 0) {
      inMeshes = true;
      continue;
    }
    if (line.rfind("Node hierarchy:", 0) == 0) {
      ReadHierarchy(lines, report);
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
  }
  return report;
}

// The tool shows the importer's hierarchy, where an STL's single solid and an
// OBJ's faces outside any group sit in a node below the root; we count them as
// the root's own geometry, so their meshes move to the root here.
void TakeWrappedGeometryIntoRoot(ToolNode& root, const std::string& extension) {
  std::vector<ToolNode> kept;
  const std::size_t children = root.children.size();
  for (ToolNode& child : root.children) {
    const bool wrapped = child.children.empty() && !child.meshes.empty() &&
                         ((extension == ".stl" && children == 1) ||
                          (extension == ".obj" && (child.name.empty() || child.name == "defaultobject")));
    if (wrapped) root.meshes.insert(root.meshes.end(), child.meshes.begin(), child.meshes.end());
    else kept.push_back(std::move(child));
  }
  root.children = std::move(kept);
}

std::string CleanName(std::string name) {
  if (name.empty()) return "node";
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

// What the node-by-node walk gathers over the whole file.
struct Walk {
  const ToolReport& raw;
  Rule rule;
  long verticesPerUse = 0;
  bool trianglesOnly = true;
  std::map<int, int> uses;  // mesh -> nodes using it
};

void CompareNode(const SceneObject* ours, const ToolNode& node, const std::string& path, Walk& walk) {
  SCOPED_TRACE(path);
  long polygons = 0, polygonsAtMost = 0, vertices = 0, largest = 0;
  bool anyPolygons = false;
  for (int index : node.meshes) {
    ASSERT_LT(static_cast<std::size_t>(index), walk.raw.meshes.size());
    const ToolMesh& mesh = walk.raw.meshes[static_cast<std::size_t>(index)];
    if (mesh.polygons && !mesh.pointsOrLines) polygons += mesh.faces;
    if (mesh.polygons) polygonsAtMost += mesh.faces;
    anyPolygons = anyPolygons || mesh.polygons;
    walk.trianglesOnly = walk.trianglesOnly && (mesh.trianglesOnly || !mesh.polygons);
    vertices += mesh.vertices;
    largest = std::max(largest, mesh.vertices);
    ++walk.uses[index];
  }
  walk.verticesPerUse += vertices;
  if (node.meshes.empty()) {
    EXPECT_TRUE(ours->kind == ObjectKind::Null || ours->kind == ObjectKind::Camera) << static_cast<int>(ours->kind);
  } else {
    EXPECT_EQ(ours->kind, anyPolygons ? ObjectKind::Polygon : ObjectKind::Point);
    EXPECT_GE(ours->polygons, polygons);
    EXPECT_LE(ours->polygons, polygonsAtMost);
    EXPECT_LE(ours->points, vertices) << "points are distinct positions among the node's vertices";
    if (walk.rule == Rule::kSharedArray) {
      EXPECT_LE(ours->points, largest) << "every mesh of the node copies the same positions";
    }
  }
  const SceneObject* child = ours->firstChild;
  for (const ToolNode& wanted : node.children) {
    ASSERT_NE(child, nullptr) << "no object for the node " << wanted.name;
    EXPECT_EQ(child->name, CleanName(wanted.name));
    CompareNode(child, wanted, path + "/" + child->name, walk);
    child = child->next;
  }
  EXPECT_EQ(child, nullptr) << "an object without a node: " << child->name;
}

const ModelFile kModels[] = {
    {"OBJ/box.obj", "OBJ", Rule::kCopiesJoin},
    {"OBJ/concave_polygon.obj", "OBJ", Rule::kCopiesJoin},
    {"OBJ/spider.obj", "OBJ", Rule::kSeams},
    {"OBJ/testmixed.obj", "OBJ", Rule::kSeams},
    {"OBJ/cube_usemtl.obj", "OBJ", Rule::kSplitByMaterial},
    {"@shapes.obj", "OBJ", Rule::kSeams},
    {"@two_materials.obj", "OBJ", Rule::kSplitByMaterial},
    {"@four_materials.obj", "OBJ", Rule::kSplitByMaterial},
    {"@groups.obj", "OBJ", Rule::kSplitByMaterial},
    {"glTF2/BoxTextured-glTF/BoxTextured.gltf", "glTF", Rule::kSeams},
    {"glTF/CesiumMilkTruck/CesiumMilkTruck.gltf", "glTF", Rule::kSharedArray},
    {"@rig.gltf", "glTF", Rule::kStoredOnce},
    {"@shared_positions.gltf", "glTF", Rule::kSharedArray},
    {"@single_node.gltf", "glTF", Rule::kSharedArray},
    {"glTF2/BoxTextured-glTF-Binary/BoxTextured.glb", "GLB", Rule::kSeams},
    {"glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb", "GLB", Rule::kSeams},
    {"PLY/cube.ply", "PLY", Rule::kStoredOnce},
    {"PLY/points.ply", "PLY", Rule::kStoredOnce},
    {"STL/3DSMaxExport.STL", "STL", Rule::kSeams},
    {"STL/Spider_ascii.stl", "STL", Rule::kSeams},
    {"STL/triangle_with_two_solids.stl", "STL", Rule::kStoredOnce},
    {"@solid.stl", "STL", Rule::kSeams},
    {"FBX/box.fbx", "FBX", Rule::kSeams},
    {"FBX/cubes_with_names.fbx", "FBX", Rule::kSeams},
    {"Collada/duck.dae", "COLLADA", Rule::kSeams},
    {"Collada/teapot_instancenodes.DAE", "COLLADA", Rule::kSeams},
    {"Collada/kwxport_test_vcolors.dae", "COLLADA", Rule::kSplitByMaterial},
    {"X/kwxport_test_cubewithvcolors.x", "X", Rule::kSplitByMaterial},
    {"LWO/LWO2/uvtest.lwo", "LWO", Rule::kSplitByMaterial},
    {"IFC/AC14-FZK-Haus.ifc", "IFC", Rule::kSplitByMaterial},
    {"3DS/fels.3ds", "3DS", Rule::kCopiesJoin},
    {"3DS/test1.3ds", "3DS", Rule::kSeams},
};

class CrossCheckTest : public SceneInputTest {};

TEST_F(CrossCheckTest, CountsAgreeWithTheImportersTool) {
  std::string table =
      "file                                                 format   polygons   points  ngons objects | nodes faces "
      "vertices joined triangles | rule\n";
  for (const ModelFile& model : kModels) {
    const std::string path = model.path[0] == '@' ? std::string(STATLUME_IMPORT_DATA_DIR "/") + (model.path + 1)
                                                  : std::string(STATLUME_ASSIMP_MODELS_DIR "/") + model.path;
    SCOPED_TRACE(path);
    ToolReport raw = ParseTool(RunTool(path, true));
    const ToolReport processed = ParseTool(RunTool(path, false));
    ASSERT_GT(raw.faces + raw.vertices, 0) << "the tool read nothing";
    ASSERT_EQ(raw.nodesListed, raw.nodes) << "the hierarchy was not read";
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    TakeWrappedGeometryIntoRoot(raw.root, extension);

    testhost::Document* document = Load(path);
    const Totals ours = TotalsOf(document->firstRoot);
    EXPECT_EQ(document->firstRoot->name, std::filesystem::path(path).filename().string());
    Walk walk{raw, model.rule, 0, true, {}};
    CompareNode(document->firstRoot, raw.root, document->firstRoot->name, walk);

    if (walk.trianglesOnly) {
      EXPECT_EQ(ours.ngons, 0);
    }
    const bool shared = std::any_of(walk.uses.begin(), walk.uses.end(), [](const auto& use) { return use.second > 1; });
    if (ours.ngons > 0 && !shared) {
      EXPECT_GE(processed.faces, ours.polygons + 2 * ours.ngons) << "triangles from n-gons";
    }
    // The processed count holds each mesh once; with shared meshes only the bound
    // by the raw vertices of every use is comparable.
    switch (model.rule) {
      case Rule::kStoredOnce: EXPECT_EQ(ours.points, walk.verticesPerUse); break;
      case Rule::kCopiesJoin:
        EXPECT_FALSE(shared);
        EXPECT_LT(ours.points, walk.verticesPerUse);
        EXPECT_EQ(ours.points, processed.vertices);
        break;
      case Rule::kSeams:
        if (!shared) {
          EXPECT_LT(ours.points, processed.vertices);
        }
        break;
      case Rule::kSplitByMaterial:
      case Rule::kSharedArray: EXPECT_LT(ours.points, walk.verticesPerUse); break;
    }

    char row[512];
    std::snprintf(row, sizeof row, "%-52s %-7s %9lld %8lld %6lld %7lld | %5ld %5ld %8ld %6ld %9ld | %s%s\n",
                  (model.path[0] == '@' ? std::string("(test data) ") + (model.path + 1) : std::string(model.path))
                      .substr(0, 52)
                      .c_str(),
                  model.format, static_cast<long long>(ours.polygons), static_cast<long long>(ours.points),
                  static_cast<long long>(ours.ngons), static_cast<long long>(ours.objects), raw.nodes, raw.faces,
                  raw.vertices, processed.vertices, processed.faces, RuleText(model.rule),
                  shared ? "; shared meshes: raw bound only" : "");
    table += row;
  }
  std::printf("\nOur counts against `assimp info` (nodes, faces, vertices: raw; joined, triangles: processed)\n%s\n",
              table.c_str());
}

}  // namespace
}  // namespace scene_input_test
