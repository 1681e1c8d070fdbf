#pragma once
// What the scene input tests share: a test host whose scene files are loaded into,
// scratch files, and the totals of a hierarchy.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "scene_input.h"
#include "testhost/host.h"

namespace scene_input_test {

// Sums over an object and everything below it. Geometry counts only from polygon
// and point objects, as when the hierarchy is joined; objects counts all.
struct Totals {
  std::int64_t polygons = 0, points = 0, ngons = 0, objects = 0;
};
Totals TotalsOf(const testhost::SceneObject* object);

std::string ReadText(const std::string& file);

class SceneInputTest : public testing::Test {
 protected:
  SceneInputTest();
  testhost::Scene& scene() { return host_->SceneModel(); }
  testhost::Document* Load(const std::string& file) { return testhost::input::LoadScene(scene(), file); }
  // Writes `content` to a file of this name in a folder of the test's own.
  std::string Write(const std::string& name, const std::string& content);
  // Loads `file`, which must fail: the error it gave (and the scene must be as it
  // was, no document added or made active).
  testhost::input::InputError LoadError(const std::string& file);

 private:
  std::unique_ptr<testhost::Host> host_;
  std::string folder_;
};

// The file, the line and the reason's telling part; whether a load matches it.
struct ExpectedError {
  int line;
  std::string reason;
};
testing::AssertionResult Matches(const testhost::input::InputError& error, const std::string& file,
                                 const ExpectedError& expected);

}  // namespace scene_input_test
