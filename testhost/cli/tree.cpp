#include "tree.h"

#include <utility>

#include "session.h"

namespace cli {

std::vector<TreeRow> CountEveryObject(Session& session) {
  std::vector<TreeRow> rows;
  for (const testhost::input::ObjectPath& listed : session.ObjectPaths()) {
    session.Select(listed.object);
    // Only the grid is shown per object; a scene may hold a million of them.
    DialogView view = session.View();
    view.menus.clear();
    view.title.clear();
    rows.push_back(TreeRow{listed.path, listed.depth, std::move(view)});
  }
  return rows;
}

}  // namespace cli
