#pragma once
// The syntax of object paths, shared by the scene and by drafts: names from the top
// level joined by '/', such as "Robot/Head". Siblings may share a name, so a name
// may end in "[N]" to mean the Nth sibling of that name ("Bolt[2]"; "Bolt" alone,
// or "Bolt[1]", is the first). A name that itself ends in brackets, such as the
// "nodes[3]" the importer gives unnamed glTF nodes, is still found by that name
// where no Nth sibling of the shorter name exists; "nodes[3][1]" always finds it.
#include <cstddef>
#include <string>
#include <vector>

namespace testhost::input {

struct PathStep {
  std::string text;       // as written
  std::string name;       // without a trailing "[N]"; the text when there is none
  std::size_t index = 0;  // N of a trailing "[N]"; 0 when there is none
};

// One name of a path.
PathStep ParseStep(const std::string& text);
// The steps of a path; a path with an empty name (also "", "/A" and "A/") has none.
std::vector<PathStep> SplitPath(const std::string& path);

// The sibling a step means, from the first sibling `first`: the Nth of those named
// `step.name` where the step ends in "[N]" and there are that many, else the first
// named `step.text`; null when there is none. `next(s)` is the sibling after `s`
// (null after the last), `name(s)` its name.
template <class T, class Next, class Name>
T* PickSibling(const PathStep& step, T* first, Next next, Name name) {
  if (step.index != 0) {
    std::size_t seen = 0;
    for (T* sibling = first; sibling != nullptr; sibling = next(sibling))
      if (name(sibling) == step.name && ++seen == step.index) return sibling;
  }
  for (T* sibling = first; sibling != nullptr; sibling = next(sibling))
    if (name(sibling) == step.text) return sibling;
  return nullptr;
}

}  // namespace testhost::input
