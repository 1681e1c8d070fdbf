#include "scene_input_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace scene_input_test {

Totals TotalsOf(const testhost::SceneObject* object) {
  Totals totals;
  totals.objects = 1;
  if (object->kind == testhost::ObjectKind::Polygon || object->kind == testhost::ObjectKind::Point) {
    totals.polygons = object->polygons;
    totals.points = object->points;
    totals.ngons = object->ngons;
  }
  for (const testhost::SceneObject* child = object->firstChild; child != nullptr; child = child->next) {
    const Totals below = TotalsOf(child);
    totals.polygons += below.polygons;
    totals.points += below.points;
    totals.ngons += below.ngons;
    totals.objects += below.objects;
  }
  return totals;
}

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

SceneInputTest::SceneInputTest() : host_(testhost::Host::TablesOnly()) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("scene_input_") + test->test_suite_name() + "_" + test->name();
  for (char& c : name)
    if (c == '/') c = '_';  // parameterised tests have '/' in their names
  folder_ = testing::TempDir() + name;
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
}

std::string SceneInputTest::Write(const std::string& name, const std::string& content) {
  const std::string file = folder_ + "/" + name;
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

testhost::input::InputError SceneInputTest::LoadError(const std::string& file) {
  testhost::Document* before = scene().ActiveDocument();
  try {
    Load(file);
  } catch (const testhost::input::InputError& error) {
    EXPECT_EQ(scene().ActiveDocument(), before) << "a failed load changed the active document";
    return error;
  }
  ADD_FAILURE() << file << " loaded, but should have failed";
  return testhost::input::InputError(file, -1, "(loaded)");
}

testing::AssertionResult Matches(const testhost::input::InputError& error, const std::string& file,
                                 const ExpectedError& expected) {
  if (error.File() != file) return testing::AssertionFailure() << "file " << error.File() << ", wanted " << file;
  if (error.Line() != expected.line)
    return testing::AssertionFailure() << "line " << error.Line() << ", wanted " << expected.line << " (" << error.what()
                                       << ")";
  if (error.Reason().find(expected.reason) == std::string::npos)
    return testing::AssertionFailure() << "reason '" << error.Reason() << "' lacks '" << expected.reason << "'";
  const std::string what = error.what();
  if (what.rfind(file + ":", 0) != 0 || what.find(error.Reason()) == std::string::npos)
    return testing::AssertionFailure() << "message '" << what << "' does not name the file and the reason";
  return testing::AssertionSuccess();
}

}  // namespace scene_input_test
