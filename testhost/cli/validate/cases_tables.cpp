// Host tables: each of the 37 missing alone, random sets of them missing, and host
// versions at and around the one the plug-in needs. The plug-in must refuse or
// work, never crash or break the host's rules, and leave nothing behind.
#include <random>

#include "cases.h"
#include "testhost/host.h"
#include "testhost/tables.h"

namespace validate {

namespace {

void TakeFaults(testhost::Host& host, CaseResult& result) {
  if (!host.Failures().empty()) result.Fail(host.Failures().front());
}

// The life cycle with the command run, on whatever the host gave.
void RunLifeCycle(testhost::Host& host) {
  host.Init();
  host.Message(1);
  host.Start();
  if (testhost::RegisteredCommand* command = host.CommandModel().ById(testhost::tool::kCommandId))
    host.CommandModel().Run(*command);
  host.End();
  host.Unload();
}

void MissingTable(testhost::Table table, const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin);
  host.RemoveTable(table);
  RunLifeCycle(host);
  TakeFaults(host, result);
}

void RandomMissingTables(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  const int rounds = 5 * context.level;
  for (int round = 0; round < rounds && result.passed; ++round) {
    testhost::Host host(context.plugin);
    for (int t = 0; t < testhost::kTableCount; ++t)
      if (random() % 4 == 0) host.RemoveTable(static_cast<testhost::Table>(t));
    RunLifeCycle(host);
    TakeFaults(host, result);
  }
  result.figures["rounds"] = rounds;
}

void HostVersion(std::int32_t version, const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin);
  host.SetVersion(version);
  RunLifeCycle(host);
  TakeFaults(host, result);
}

}  // namespace

void AddTableCases(std::vector<Case>& cases) {
  for (int t = 0; t < testhost::kTableCount; ++t) {
    const auto table = static_cast<testhost::Table>(t);
    cases.push_back({std::string("tables.missing-") + testhost::TableName(table), 2, false,
                     [table](const CaseContext& context, CaseResult& result) { MissingTable(table, context, result); }});
  }
  cases.push_back({"tables.random-missing", 2, true, RandomMissingTables});
  for (std::int32_t version : {0, 2023999, 2024000, 2024001, 2147483647, -1}) {
    cases.push_back({"tables.version-" + std::to_string(version), 2, false,
                     [version](const CaseContext& context, CaseResult& result) { HostVersion(version, context, result); }});
  }
}

}  // namespace validate
