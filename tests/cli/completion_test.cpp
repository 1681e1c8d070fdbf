// Event lines and their completion at the terminal session's prompt: words with
// spaces by quotes or backslashes, and Tab completing verbs, their words and the
// paths of a scene built here.
#include <gtest/gtest.h>

#include <deque>

#include "completion.h"
#include "event_words.h"
#include "events.h"
#include "scene_input.h"
#include "testhost/scene.h"

namespace {

using cli::Complete;
using cli::Completion;
using testhost::Document;
using testhost::SceneObject;

// A scene hierarchy, linked as the test host links its own.
class Tree {
 public:
  SceneObject* Add(const std::string& name, SceneObject* parent = nullptr) {
    SceneObject& object = objects_.emplace_back();
    object.name = name;
    object.parent = parent;
    object.document = &document_;
    SceneObject*& first = parent != nullptr ? parent->firstChild : document_.firstRoot;
    SceneObject*& last = parent != nullptr ? parent->lastChild : document_.lastRoot;
    object.previous = last;
    if (last != nullptr) last->next = &object;
    if (first == nullptr) first = &object;
    last = &object;
    return &object;
  }
  Document* document() { return &document_; }

 private:
  std::deque<SceneObject> objects_;
  Document document_;
};

std::vector<std::string> Texts(const std::string& line) {
  std::vector<std::string> texts;
  for (const cli::EventWord& word : cli::SplitEventLine(line).words) texts.push_back(word.text);
  return texts;
}

// The line after Tab: the completion put in place of the word being completed.
std::string AfterTab(const std::string& line, Document* document) {
  const Completion completion = Complete(line, document);
  return line.substr(0, completion.from) + completion.text;
}

using Words = std::vector<std::string>;

}  // namespace

TEST(EventWords, QuotesAndBackslashesKeepSpacesInAWord) {
  EXPECT_EQ(Texts("select \"My Model.obj/Left Arm\""), (Words{"select", "My Model.obj/Left Arm"}));
  EXPECT_EQ(Texts("select My\\ Model.obj/Bolt[2]"), (Words{"select", "My Model.obj/Bolt[2]"}));
  EXPECT_EQ(Texts("  move\tA\\\\B  under \"\" "), (Words{"move", "A\\B", "under", ""}));
  EXPECT_EQ(Texts("select C:\\Parts\\x"), (Words{"select", "C:\\Parts\\x"})) << "a backslash before a letter stays";
  EXPECT_EQ(Texts("select \"say \\\"hi\\\"\""), (Words{"select", "say \"hi\""}));
  EXPECT_TRUE(cli::SplitEventLine("select \"My Mod").openQuote);
  EXPECT_FALSE(cli::SplitEventLine("select \"My Model\"").openQuote);

  // Whatever a name holds, its escaped form reads back as that one word.
  for (const std::string name : {"plain", "two words", "tab\there", "quote\"d", "back\\slash", "end\\", "\\ ", "Ärm"}) {
    EXPECT_EQ(Texts("select " + cli::EscapeEventWord(name, false)), (Words{"select", name})) << name;
    EXPECT_EQ(Texts("select \"" + cli::EscapeEventWord(name, true) + "\""), (Words{"select", name})) << name;
  }
}

TEST(EventWords, EventsTakeQuotedPathsAndRefuseAnOpenQuote) {
  cli::Event event;
  ASSERT_TRUE(cli::ParseEvent("move \"A B\" under C\\ D", event));
  EXPECT_EQ(event.words, (Words{"A B", "under", "C D"}));
  ASSERT_TRUE(cli::ParseEvent("manual", event));
  EXPECT_EQ(event.verb, "manual");
  EXPECT_FALSE(cli::ParseEvent("  # a comment with a \"quote", event));
  try {
    cli::ParseEvent("select \"Robot", event);
    ADD_FAILURE() << "an open quote was taken";
  } catch (const cli::UsageError& error) {
    EXPECT_EQ(error.message, "a quote is not closed");
  }
}

TEST(Completion, VerbsAndTheWordsEachTakes) {
  EXPECT_EQ(AfterTab("chi", nullptr), "children ");
  EXPECT_EQ(AfterTab("  sc", nullptr), "  scene-change ");
  EXPECT_EQ(AfterTab("qu", nullptr), "quit ");
  EXPECT_EQ(AfterTab("children of", nullptr), "children off ");
  EXPECT_EQ(AfterTab("pause o", nullptr), "pause o");
  EXPECT_EQ(Complete("pause o", nullptr).choices, (Words{"off", "on"}));
  EXPECT_EQ(AfterTab("add sp", nullptr), "add sphere ");
  EXPECT_EQ(AfterTab("move Floor u", nullptr), "move Floor under ");
  EXPECT_EQ(AfterTab("move Floor to t", nullptr), "move Floor to top ");
  EXPECT_EQ(AfterTab("add polygon Tip 5 4 0 un", nullptr), "add polygon Tip 5 4 0 under ");
  EXPECT_EQ(Complete("edit Floor po", nullptr).choices, (Words{"points", "polygons"}));
  EXPECT_EQ(AfterTab("edit Floor seg", nullptr), "edit Floor segments ");
  // Nothing follows where the event takes no more words, or a name is free.
  EXPECT_EQ(AfterTab("about ", nullptr), "about ");
  EXPECT_TRUE(Complete("add polygon ", nullptr).choices.empty());
  EXPECT_TRUE(Complete("edit Floor points ", nullptr).choices.empty());

  // The first word: every event and the session's own words, each one the
  // session takes.
  const Completion verbs = Complete("", nullptr);
  for (const std::string& verb : cli::EventVerbs())
    EXPECT_NE(std::find(verbs.choices.begin(), verbs.choices.end(), verb), verbs.choices.end()) << verb;
  EXPECT_NE(std::find(verbs.choices.begin(), verbs.choices.end(), "quit"), verbs.choices.end());
  // The kinds offered are the ones the scene makes.
  const Completion kinds = Complete("add ", nullptr);
  EXPECT_EQ(kinds.choices.size(), 8u);
  for (const std::string& kind : kinds.choices) {
    testhost::ObjectKind made;
    EXPECT_TRUE(testhost::KindNamed(kind, made)) << kind;
  }
}

TEST(Completion, PathsOneNameAtATime) {
  Tree tree;
  SceneObject* robot = tree.Add("Robot");
  tree.Add("Body", robot);
  tree.Add("Visor", tree.Add("Head", robot));
  tree.Add("Floor");
  Document* scene = tree.document();

  EXPECT_EQ(AfterTab("select R", scene), "select Robot") << "an object with children takes no space";
  EXPECT_EQ(AfterTab("select Robot", scene), "select Robot/") << "named in full, its children follow";
  EXPECT_EQ(Complete("select Robot/", scene).choices, (Words{"Body", "Head"}));
  EXPECT_EQ(AfterTab("select Robot/H", scene), "select Robot/Head");
  EXPECT_EQ(AfterTab("select Robot/Head/", scene), "select Robot/Head/Visor ");
  EXPECT_EQ(AfterTab("select Fl", scene), "select Floor ");
  EXPECT_EQ(AfterTab("delete Robot/B", scene), "delete Robot/Body ");
  EXPECT_EQ(AfterTab("move Floor under Robot/B", scene), "move Floor under Robot/Body ");
  EXPECT_EQ(AfterTab("edit Rob", scene), "edit Robot");
  EXPECT_EQ(AfterTab("add null Arm under Robot/He", scene), "add null Arm under Robot/Head");
  // No such object: nothing to offer.
  const Completion none = Complete("select Nose/", scene);
  EXPECT_EQ(none.text, "Nose/");
  EXPECT_TRUE(none.choices.empty());
}

// Siblings of one name complete to the paths that find each of them: NAME[N], and
// "nodes[3][1]" for a name that itself ends in brackets where "nodes[3]" means the
// third "nodes".
TEST(Completion, SiblingsOfOneNameByThePathsThatFindThem) {
  Tree tree;
  SceneObject* parts = tree.Add("parts");
  std::vector<SceneObject*> children;
  for (const char* name : {"Bolt", "nodes[3]", "Bolt", "nodes", "nodes", "nodes", "Nut[2]"})
    children.push_back(tree.Add(name, parts));
  Document* scene = tree.document();

  const Completion all = Complete("select parts/", scene);
  ASSERT_EQ(all.choices.size(), children.size());
  for (std::size_t i = 0; i < children.size(); ++i) {
    const std::string path = "parts/" + all.choices[i];
    EXPECT_EQ(path, testhost::input::PathOf(children[i]));
    EXPECT_EQ(testhost::input::FindByPath(scene, path), children[i]) << path;
  }
  EXPECT_EQ(all.choices[1], "nodes[3][1]");
  EXPECT_EQ(all.choices[6], "Nut[2]") << "no sibling called Nut: the name alone finds it";

  EXPECT_EQ(AfterTab("select parts/Bo", scene), "select parts/Bolt");
  EXPECT_EQ(Complete("select parts/Bo", scene).choices, (Words{"Bolt", "Bolt[2]"}));
  EXPECT_EQ(AfterTab("select parts/Bolt[", scene), "select parts/Bolt[2] ");
  EXPECT_EQ(AfterTab("select parts/nodes[3][", scene), "select parts/nodes[3][1] ");
}

TEST(Completion, NamesWithSpacesEscapedOrQuoted) {
  Tree tree;
  SceneObject* model = tree.Add("My Model.obj");
  tree.Add("Left Arm", model);
  tree.Add("Left Leg", model);
  tree.Add("Back\\Plate \"B\"", model);
  Document* scene = tree.document();

  EXPECT_EQ(AfterTab("select My", scene), "select My\\ Model.obj");
  EXPECT_EQ(AfterTab("select My\\ Model.obj/Left", scene), "select My\\ Model.obj/Left\\ ");
  EXPECT_EQ(AfterTab("select My\\ Model.obj/Left\\ A", scene), "select My\\ Model.obj/Left\\ Arm ");
  EXPECT_EQ(AfterTab("select My\\ Model.obj/Ba", scene), "select My\\ Model.obj/Back\\\\Plate\\ \\\"B\\\" ");
  EXPECT_EQ(AfterTab("select \"My", scene), "select \"My Model.obj") << "the quote stays open for more";
  EXPECT_EQ(AfterTab("select \"My Model.obj/Left L", scene), "select \"My Model.obj/Left Leg\" ");
  EXPECT_EQ(AfterTab("move \"My Model.obj/Left Leg\" under My", scene),
            "move \"My Model.obj/Left Leg\" under My\\ Model.obj");

  // The completed line reads back as the event it means.
  cli::Event event;
  ASSERT_TRUE(cli::ParseEvent(AfterTab("select My\\ Model.obj/Ba", scene), event));
  EXPECT_EQ(testhost::input::FindByPath(scene, event.words[0]), model->lastChild);
}

TEST(Completion, SharedStartKeepsWholeCharacters) {
  Tree apart;
  apart.Add("\xC3\x84rm");  // Ärm and Örm share their first byte, not a character
  apart.Add("\xC3\x96rm");
  EXPECT_EQ(AfterTab("select ", apart.document()), "select ");
  Tree together;
  together.Add("\xC3\x84rm");
  together.Add("\xC3\x84xe");
  EXPECT_EQ(AfterTab("select ", together.document()), "select \xC3\x84");
}

TEST(Completion, LongListsAreCut) {
  Tree tree;
  for (int i = 0; i < 300; ++i) tree.Add("Cube");
  const Completion completion = Complete("select C", tree.document());
  EXPECT_EQ(completion.text, "Cube");
  EXPECT_EQ(completion.choices.size(), cli::kMostChoicesListed);
  EXPECT_EQ(completion.unlisted, 300 - cli::kMostChoicesListed);
  EXPECT_EQ(completion.choices[1], "Cube[2]");
}
