#include "job_code.h"

#include <cstdint>

#include "symbol_table.h"
#include "testhost/host.h"

namespace validate {

namespace {

// The scope's routines (Itanium names): the constructor taking `begin`, Begin, End
// and the destructor; and the entry point, whose loaded address places them.
constexpr const char* kScopeConstruct = "_ZN14HostStateScopeC1Eb";
constexpr const char* kScopeBegin = "_ZN14HostStateScope5BeginEv";
constexpr const char* kScopeEnd = "_ZN14HostStateScope3EndEv";
constexpr const char* kScopeDestroy = "_ZN14HostStateScopeD1Ev";
constexpr const char* kEntryPoint = "plugin_main";

const std::set<std::string> kNeeded = {kScopeConstruct, kScopeBegin, kScopeEnd, kScopeDestroy, kEntryPoint};

template <typename F>
F At(std::uintptr_t address) {
  return reinterpret_cast<F>(address);
}

bool FindScopeCode(testhost::Host& host, ScopeCode& code) {
  const auto symbols = FunctionSymbols(host.PluginFile(), kNeeded);
  void* entry = host.Symbol(kEntryPoint);
  if (symbols.size() != kNeeded.size() || entry == nullptr) return false;
  const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(entry) - symbols.at(kEntryPoint);
  code.construct = At<decltype(code.construct)>(base + symbols.at(kScopeConstruct));
  code.begin = At<decltype(code.begin)>(base + symbols.at(kScopeBegin));
  code.end = At<decltype(code.end)>(base + symbols.at(kScopeEnd));
  code.destroy = At<decltype(code.destroy)>(base + symbols.at(kScopeDestroy));
  return true;
}

}  // namespace

std::string MissingJobCode(const std::string& libraryFile) {
  const auto symbols = FunctionSymbols(libraryFile, kNeeded);
  if (symbols.empty())
    return "the library carries no symbol table (it was stripped), so its main-thread jobs cannot be reached";
  for (const std::string& name : kNeeded)
    if (symbols.count(name) == 0)
      return "the library's symbol table lacks " + name + ", so its main-thread jobs cannot be reached";
  return "";
}

bool ReachScopeCode(testhost::Host& host, ScopeCode& code, CaseResult& result) {
  if (FindScopeCode(host, code)) return true;
  host.Unload();
  const std::string why = MissingJobCode(host.PluginFile());
  result.Skip(Requirement::kSymbolTable,
              why.empty() ? "the loaded library does not export " + std::string(kEntryPoint) : why);
  return false;
}

}  // namespace validate
