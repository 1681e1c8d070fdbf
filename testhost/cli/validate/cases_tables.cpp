// Host tables: each of the 37 missing alone, random sets of them missing, and host
// versions at and around the one the plug-in needs. A full session runs on a scene
// each time, so that every table the plug-in reaches is asked for. The plug-in must
// accept a host of the right version whatever tables it lacks, refuse an older one,
// never crash or break the host's rules, and leave nothing behind.
#include <random>

#include "cases.h"
#include "testhost/full_session.h"
#include "testhost/host.h"
#include "testhost/tables.h"

namespace validate {

namespace {

constexpr std::int32_t kRequiredVersion = 2024000;

// A full session with `remove` tables taken away: accepted, then whatever the
// plug-in can still do, with nothing left behind.
void SessionWithout(const std::vector<testhost::Table>& remove, const CaseContext& context, CaseResult& result,
                    const std::string& where) {
  testhost::Host host(context.plugin, testhost::Host::Mode::kTablesOnly);
  for (testhost::Table table : remove) host.RemoveTable(table);
  host.Load();
  const testhost::SessionScene scene = testhost::BuildSessionScene(host.SceneModel());
  const testhost::SessionRecord record = testhost::RunSession(host, scene);
  if (record.init != 1) result.Fail(where + "a host of the right version was refused (" + std::to_string(record.init) + ")");
  TakeFaults(host, result, where);
}

void MissingTable(testhost::Table table, const CaseContext& context, CaseResult& result) {
  SessionWithout({table}, context, result, "");
}

void RandomMissingTables(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  const int rounds = 5 * context.level;
  for (int round = 0; round < rounds && result.passed; ++round) {
    std::vector<testhost::Table> remove;
    std::string names;
    for (int t = 0; t < testhost::kTableCount; ++t)
      if (random() % 4 == 0) {
        remove.push_back(static_cast<testhost::Table>(t));
        names += std::string(names.empty() ? "" : " ") + testhost::TableName(remove.back());
      }
    SessionWithout(remove, context, result, "round " + std::to_string(round) + " (without " + names + "): ");
  }
  result.figures["rounds"] = rounds;
}

// An older host is refused at the first action and sees nothing more than the end;
// the required version and later ones get the whole session with the right counts.
void HostVersion(std::int32_t version, const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin, testhost::Host::Mode::kTablesOnly);
  host.SetVersion(version);
  host.Load();
  const testhost::SessionScene scene = testhost::BuildSessionScene(host.SceneModel());
  if (version < kRequiredVersion) {
    const int answer = host.Init();
    if (answer != -3) result.Fail("an older host was answered " + std::to_string(answer) + ", not -3");
    host.Unload();
  } else {
    const testhost::SessionRecord record = testhost::RunSession(host, scene);
    if (record.init != 1) result.Fail("the host was refused (" + std::to_string(record.init) + ")");
    else if (record.firstDisplay != testhost::ExpectedFirstDisplay()) result.Fail("the first display is not the scene's counts");
  }
  TakeFaults(host, result);
}

}  // namespace

void AddTableCases(std::vector<Case>& cases) {
  for (int t = 0; t < testhost::kTableCount; ++t) {
    const auto table = static_cast<testhost::Table>(t);
    cases.push_back({std::string("tables.missing-") + testhost::TableName(table), 2, false, {},
                     std::string("a full session on a host without the table ") + testhost::TableName(table) +
                         ": accepted, and nothing breaks the host's rules or is left behind",
                     [table](const CaseContext& context, CaseResult& result) { MissingTable(table, context, result); }});
  }
  cases.push_back({"tables.random-missing", 2, true, {},
                   "full sessions on hosts without random sets of tables (5 rounds per level): each accepted, "
                   "nothing broken or left behind",
                   RandomMissingTables});
  for (std::int32_t version : {0, 2023999, 2024000, 2024001, 2147483647, -1, -2147483647 - 1}) {
    const std::string host = "a host of version " + std::to_string(version);
    cases.push_back({"tables.version-" + std::to_string(version), 2, false, {},
                     version < kRequiredVersion
                         ? host + ", older than " + std::to_string(kRequiredVersion) + ": refused at the first action"
                         : host + ": accepted, and the first display shows the scene's counts",
                     [version](const CaseContext& context, CaseResult& result) { HostVersion(version, context, result); }});
  }
}

}  // namespace validate
