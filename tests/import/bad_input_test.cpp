// Files that are not scenes at all: each ends in an InputError about the file as a
// whole, whatever the format, and nothing crashes.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "scene_input_fixture.h"

namespace scene_input_test {
namespace {

class BadInputTest : public SceneInputTest {
 protected:
  void ExpectRefused(const std::string& file, const std::string& reason) {
    SCOPED_TRACE(file);
    EXPECT_TRUE(Matches(LoadError(file), file, {0, reason}));
  }
};

TEST_F(BadInputTest, MissingFolderAndSpecialFiles) {
  for (const char* name : {"none.json", "none.scene", "none.obj", "none.xyz"})
    ExpectRefused(Write("x.txt", "") + "/../" + name, "no such file");
  const std::string folder = Write("x.txt", "") + ".d.obj";
  std::filesystem::create_directory(folder);
  ExpectRefused(folder, "is a folder");
  const std::string fifo = Write("x.txt", "") + ".fifo.scene";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ExpectRefused(fifo, "is not a regular file");
}

TEST_F(BadInputTest, UnreadableFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files whatever their permissions";
  const std::string file = Write("locked.scene", "A null\n");
  chmod(file.c_str(), 0);
  ExpectRefused(file, "cannot be read: Permission denied");
}

TEST_F(BadInputTest, EmptyFileOfEveryFormat) {
  for (const char* name : {"e.json", "e.scene", "e.obj", "e.glb", "e.stl", "e.fbx"})
    ExpectRefused(Write(name, ""), "the file is empty");
}

TEST_F(BadInputTest, UnknownExtensions) {
  ExpectRefused(Write("notes.xyz", "A null\n"), "unknown file type '.xyz'");
  ExpectRefused(Write("scene.bak", "A null\n"), "unknown file type '.bak'");
  // Without an extension the content tells (statlume-host's tests read scenes so);
  // text that no reader knows is refused.
  ExpectRefused(Write("noextension", "just some notes\n"), "not a scene or 3D file the program knows by its content");
}

// Random bytes under the name of every 3D format the loader is meant for.
TEST_F(BadInputTest, BinaryGarbageIsRefusedByTheImporter) {
  std::mt19937 random(20240611);
  std::string garbage(4096, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  for (const char* name : {"g.obj", "g.gltf", "g.glb", "g.ply", "g.stl", "g.fbx", "g.dae", "g.3ds"})
    ExpectRefused(Write(name, garbage), "cannot be imported");
}

// Real files cut in half: the importer notices and says why.
TEST_F(BadInputTest, TruncatedFilesAreRefused) {
  for (const char* model : {"glTF2/BoxTextured-glTF-Binary/BoxTextured.glb", "3DS/fels.3ds", "PLY/cube_binary.ply",
                            "FBX/box.fbx", "Collada/cube_triangulate.dae"}) {
    const std::string whole = ReadText(std::string(STATLUME_ASSIMP_MODELS_DIR "/") + model);
    ASSERT_FALSE(whole.empty()) << model;
    ExpectRefused(Write(std::filesystem::path(model).filename().string(), whole.substr(0, whole.size() / 2)),
                  "cannot be imported");
  }
}

TEST_F(BadInputTest, BrokenReferencesInsideAFile) {
  ExpectRefused(STATLUME_ASSIMP_MODELS_DIR "/glTF2/MissingBin/BoxTextured.gltf", "cannot be imported");
}

}  // namespace
}  // namespace scene_input_test
