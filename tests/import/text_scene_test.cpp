// The text shorthand: the bundled scene, what the reader tolerates, and every
// fault it refuses with the line.
#include "scene_input_fixture.h"
#include "testhost/scene_file.h"

using testhost::ObjectKind;
using testhost::SceneObject;
using testhost::input::FindByPath;
using testhost::input::PathOf;

namespace scene_input_test {
namespace {

class TextSceneTest : public SceneInputTest {};

TEST_F(TextSceneTest, BundledSceneHasItsHierarchyAndCounts) {
  testhost::Document* document = Load(STATLUME_SCENES_DIR "/default.scene");
  EXPECT_EQ(scene().ActiveDocument(), document);
  EXPECT_EQ(PathOf(document->active), "Robot");
  const SceneObject* visor = FindByPath(document, "Robot/Head/Visor");
  ASSERT_NE(visor, nullptr);
  EXPECT_EQ(visor->kind, ObjectKind::Polygon);
  EXPECT_EQ(visor->points, 24);
  EXPECT_EQ(visor->polygons, 10);
  EXPECT_EQ(visor->ngons, 2);
  EXPECT_EQ(FindByPath(document, "Robot/Head")->segments, 16);
  EXPECT_EQ(FindByPath(document, "Robot/Eye-Camera")->kind, ObjectKind::Camera);
  EXPECT_EQ(FindByPath(document, "Scan-Points")->points, 1500);
  EXPECT_EQ(TotalsOf(document->active).objects, 6);
  EXPECT_EQ(document->lastRoot->name, "Scan-Points");
}

TEST_F(TextSceneTest, OldEntryPointsStillWork) {
  testhost::Document* document = testhost::LoadSceneFile(scene(), STATLUME_SCENES_DIR "/default.scene");
  EXPECT_EQ(testhost::FindObject(document, "Visor"), FindByPath(document, "Robot/Head/Visor"));
  EXPECT_EQ(testhost::FindObject(document, "Nobody"), nullptr);
  const std::string file = Write("bad.scene", "A cube -1\n");
  EXPECT_THROW(testhost::LoadSceneFile(scene(), file), std::runtime_error);
}

TEST_F(TextSceneTest, WindowsLineEndingsCommentsAndSpacing) {
  testhost::Document* document = Load(Write("loose.scene",
                                            "# comment\r\n"
                                            "\r\n"
                                            "Top null\r\n"
                                            "  Mesh   polygon\t8  6 0   \r\n"
                                            "    # an indented comment\r\n"
                                            "    Tip point 1\r\n"
                                            "Other sphere 8\r\n"
                                            "active Tip\r\n"));
  EXPECT_EQ(PathOf(document->active), "Top/Mesh/Tip");
  EXPECT_EQ(FindByPath(document, "Top/Mesh")->polygons, 6);
  EXPECT_EQ(FindByPath(document, "Other")->segments, 8);
}

TEST_F(TextSceneTest, WithoutActiveTheFirstTopLevelObjectIsActive) {
  testhost::Document* document = Load(Write("plain.scene", "First null\n  Child cube 1\nSecond null\n"));
  EXPECT_EQ(document->active, document->firstRoot);
}

struct BadText {
  const char* label;
  const char* text;
  ExpectedError error;
};

class BadTextTest : public SceneInputTest, public testing::WithParamInterface<BadText> {};

TEST_P(BadTextTest, IsRefusedAtTheLineOfTheFault) {
  const std::string file = Write("bad.scene", GetParam().text);
  EXPECT_TRUE(Matches(LoadError(file), file, GetParam().error));
}

const BadText kBadText[] = {
    // Counts.
    {"negative", "# c\nA polygon 8 -6 0\n", {2, "polygons -6 is negative"}},
    {"not_a_number", "A point many\n", {1, "points 'many' is not a whole number"}},
    {"fraction", "A cube 2.5\n", {1, "segments '2.5' is not a whole number"}},
    {"exponent", "A point 1e3\n", {1, "'1e3' is not a whole number"}},
    {"plus_sign", "A point +4\n", {1, "'+4' is not a whole number"}},
    {"too_large", "A point 2147483648\n", {1, "points 2147483648 is too large"}},
    {"far_too_large", "A point 99999999999999999999\n", {1, "is too large"}},
    {"missing_numbers", "A null\nB polygon 8 6\n", {2, "polygon needs 3 numbers (points polygons n-gons), found 2"}},
    {"missing_segments", "A sphere\n", {1, "sphere needs 1 number (segments), found 0"}},
    {"trailing_junk", "A cube 2 extra\n", {1, "unexpected 'extra' after the numbers"}},
    {"numbers_on_null", "A null 3\n", {1, "unexpected '3' after the kind"}},
    {"ngons_over_polygons", "A polygon 8 2 3\n", {1, "n-gons 3 are more than polygons 2"}},
    {"zero_segments", "A plane 0\n", {1, "segments must be at least 1"}},
    // Kinds and names.
    {"unknown_kind", "A null\n  B cone 3\n", {2, "unknown kind 'cone'"}},
    {"no_kind", "A\n", {1, "object 'A' has no kind"}},
    {"slash_in_name", "A/B null\n", {1, "contains '/'"}},
    // Indentation.
    {"odd_indent", "A null\n   B null\n", {2, "indent of 3 spaces is not a multiple of two"}},
    {"tab_indent", "A null\n\tB null\n", {2, "indented with a tab"}},
    {"two_levels_deeper", "A null\n  B null\n      C null\n", {3, "indented 2 levels below the object above"}},
    {"indented_first", "  A null\n", {1, "no object above"}},
    // The active object.
    {"active_unknown", "A null\nactive B\n", {2, "no object 'B' to make active"}},
    {"active_twice", "A null\nactive A\nactive A\n", {3, "a second active line (the first is line 2)"}},
    {"active_without_name", "A null\nactive\n", {2, "active needs one object name"}},
    {"active_two_names", "A null\nactive A B\n", {2, "active needs one object name"}},
    // The file.
    {"only_comments", "# nothing\n\n", {0, "the scene has no objects"}},
};

INSTANTIATE_TEST_SUITE_P(Text, BadTextTest, testing::ValuesIn(kBadText),
                         [](const testing::TestParamInfo<BadText>& param) { return std::string(param.param.label); });

}  // namespace
}  // namespace scene_input_test
