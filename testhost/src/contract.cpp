#include "testhost/contract.h"

#include "testhost/fault_log.h"

namespace testhost {

namespace {
thread_local const EntryId* t_entry = nullptr;
thread_local const MethodId* t_method = nullptr;
}  // namespace

std::string Describe(const MethodId& method) {
  return std::string(method.interfaceName) + "." + method.method;
}

Serving::Serving(const EntryId& entry) : savedEntry_(t_entry), savedMethod_(t_method) {
  t_entry = &entry;
  t_method = nullptr;
}

Serving::Serving(const MethodId& method) : savedEntry_(t_entry), savedMethod_(t_method) {
  t_entry = nullptr;
  t_method = &method;
}

Serving::~Serving() {
  t_entry = savedEntry_;
  t_method = savedMethod_;
}

std::string Serving::Current() {
  if (t_entry != nullptr) return Describe(*t_entry);
  if (t_method != nullptr) return Describe(*t_method);
  return "the host";
}

bool Contract::NotNull(const void* value, const char* argument) {
  return value != nullptr || Fail(argument, "must not be null");
}

bool Contract::Null(const void* value, const char* argument) {
  return value == nullptr || Fail(argument, "must be null");
}

bool Contract::Check(bool holds, const char* argument, const std::string& expectation) {
  return holds || Fail(argument, expectation);
}

bool Contract::Fail(const char* argument, const std::string& problem) {
  ok_ = false;
  std::string operation = Serving::Current();
  if (!detail_.empty()) operation += " " + detail_;
  FaultLog::Current().Fail(operation + ": argument '" + argument + "' " + problem);
  return false;
}

}  // namespace testhost
