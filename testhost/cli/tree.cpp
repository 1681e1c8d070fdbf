#include "tree.h"

#include "session.h"

namespace cli {

std::vector<TreeRow> CountEveryObject(Session& session) {
  std::vector<TreeRow> rows;
  for (const testhost::input::ObjectPath& listed : session.ObjectPaths()) {
    session.Select(listed.object);
    rows.push_back(TreeRow{listed.path, listed.depth, session.View()});
  }
  return rows;
}

}  // namespace cli
