#include "testhost/sweeps.h"

#include "errorbase1.h"
#include "objectbase1.h"
#include "testhost/full_session.h"

namespace testhost {

namespace {

// The interfaces the plug-in binds, with their published method lists.
struct PublishedInterface {
  const char* name;
  int methods;  // 0 for object-dispatch interfaces
};
const PublishedInterface kInterfaces[] = {
    {published::System::kName, published::System::kMethodCount},
    {published::Application::kName, published::Application::kMethodCount},
    {published::DataTypeLibrary::kName, published::DataTypeLibrary::kMethodCount},
    {published::Logger::kName, published::Logger::kMethodCount},
    {published::String::kName, published::String::kMethodCount},
    {published::StringConversion::kName, published::StringConversion::kMethodCount},
    {published::CString::kName, published::CString::kMethodCount},
    {published::ThreadServices::kName, published::ThreadServices::kMethodCount},
    {published::JobQueue::kName, published::JobQueue::kMethodCount},
    {published::DataDictionary::kName, published::DataDictionary::kMethodCount},
    {published::Error::kName, 0},
    {published::AggregatedError::kName, 0},
    {published::UnregisteredDataTypeError::kName, 0},
};

std::vector<std::string> PublishedDeclarations() {
  std::vector<std::string> ids = {published::decl::kDefaultLogger, published::decl::kUtf8Decoding,
                                  published::decl::kObjectClass, published::decl::kInt32Type};
  for (const char* prototype : published::errors::kPrototypes) ids.push_back(prototype);
  return ids;
}

void HealKernel(Host& host) { host.Framework().Heal(); }

SessionFault KernelFault(std::string name, std::function<void(Kernel&)> change) {
  return {std::move(name), [change = std::move(change)](Host& h) { change(h.Framework()); }, HealKernel};
}

void AddPublished(std::vector<SessionFault>& faults) {
  for (const PublishedInterface& published : kInterfaces)
    faults.push_back(KernelFault(std::string("interface ") + published.name,
                                 [name = std::string(published.name)](Kernel& k) { k.Unpublish(name); }));
  for (const std::string& id : PublishedDeclarations())
    faults.push_back(KernelFault("declaration " + id, [id](Kernel& k) { k.UnpublishDeclaration(id); }));
}

void AddMethods(std::vector<SessionFault>& faults) {
  for (const PublishedInterface& published : kInterfaces)
    for (int slot = 0; slot < published.methods; ++slot)
      faults.push_back(KernelFault(std::string(published.name) + " method " + std::to_string(slot),
                                   [name = std::string(published.name), slot](Kernel& k) { k.UnpublishMethod(name, slot); }));
}

void AddSignatures(std::vector<SessionFault>& faults) {
  for (const PublishedInterface& published : kInterfaces)
    for (int slot = 0; slot < published.methods; ++slot)
      faults.push_back(KernelFault(std::string(published.name) + " method " + std::to_string(slot) + " wrongly hashed",
                                   [name = std::string(published.name), slot](Kernel& k) {
                                     k.SetSignatureHash(name, slot, "0000000000000000");
                                   }));
}

// The kernel's initializer withheld, alone and with each interface missing; failing
// for each interface resolved on demand, and for each with its first method unbound;
// each interface's reference marked failed at binding.
void AddInitializers(std::vector<SessionFault>& faults) {
  faults.push_back(KernelFault("initializer withheld", [](Kernel& k) { k.WithholdInitializer(); }));
  for (const PublishedInterface& published : kInterfaces) {
    const std::string name = published.name;
    faults.push_back(KernelFault("initializer withheld, interface " + name + " unpublished", [name](Kernel& k) {
      k.WithholdInitializer();
      k.Unpublish(name);
    }));
    faults.push_back(KernelFault("initializer failing for " + name + " resolved on demand", [name](Kernel& k) {
      k.ResolveOnDemand(name);
      k.FailInitializer(name);
    }));
    if (published.methods > 0)
      faults.push_back(KernelFault("initializer failing for " + name + " with method 0 unbound", [name](Kernel& k) {
        k.UnpublishMethod(name, 0);
        k.FailInitializer(name);
      }));
    faults.push_back(KernelFault("interface " + name + " failed at binding", [name](Kernel& k) { k.MarkFailed(name); }));
  }
}

// Framework methods that answer an error instead of their value.
void AddAnswers(std::vector<SessionFault>& faults) {
  faults.push_back(KernelFault("logger writes failing", [](Kernel& k) { k.FailLoggerWrite(true); }));
  faults.push_back(KernelFault("string conversion failing", [](Kernel& k) { k.FailStringConversion(true); }));
  for (int code : {1, 2, Kernel::kUnregisteredDataType})
    faults.push_back(KernelFault("data type failing with " + std::to_string(code), [code](Kernel& k) { k.FailDataType(code); }));
  faults.push_back(KernelFault("no machine information", [](Kernel& k) { k.SetMachineInfo(std::nullopt); }));
}

void AddAllocations(std::vector<SessionFault>& faults, const std::string& pluginFile) {
  const int allocations = RunCleanReference(pluginFile).allocations;
  for (int k = 1; k <= allocations; ++k)
    faults.push_back(KernelFault("allocation " + std::to_string(k) + " of " + std::to_string(allocations),
                                 [k](Kernel& kernel) { kernel.FailAllocation(k); }));
}

void AddEntries(std::vector<SessionFault>& faults, const std::string& pluginFile) {
  for (const EntryId& entry : RunCleanReference(pluginFile).answeringEntries)
    faults.push_back({"entry " + Describe(entry), [entry](Host& h) { h.FailEntry(entry); },
                      [entry](Host& h) { h.HealEntry(entry); }});
}

// Each call of each entry that answers a value failing alone: the plug-in must cope
// with a failure at any point of a session, not only with an entry that never works.
void AddEntryCalls(std::vector<SessionFault>& faults, const std::string& pluginFile) {
  const CleanReference reference = RunCleanReference(pluginFile);
  for (const std::pair<EntryId, int>& counted : reference.answeringCalls) {
    const EntryId entry = counted.first;
    const int calls = counted.second;
    for (int k = 1; k <= calls; ++k)
      faults.push_back({"call " + std::to_string(k) + " of " + std::to_string(calls) + " to " + Describe(entry),
                        [entry, k](Host& h) { h.FailEntryCall(entry, k); }, [entry](Host& h) { h.HealEntry(entry); }});
  }
}

}  // namespace

const std::vector<std::string>& SweepFamilies() {
  static const std::vector<std::string> families = {"published", "methods",     "signatures", "initializers",
                                                    "answers",   "allocations", "entries",    "calls"};
  return families;
}

CleanReference RunCleanReference(const std::string& pluginFile) {
  Host host(pluginFile, Host::Mode::kTablesOnly);
  host.Load();
  const SessionScene scene = BuildSessionScene(host.SceneModel());
  RunSession(host, scene);
  CleanReference reference;
  reference.allocations = host.Framework().AllocationCount();
  for (const EntryId& entry : host.EntriesCalled())
    if (host.Tables().Answers(entry)) {
      reference.answeringEntries.push_back(entry);
      reference.answeringCalls.emplace_back(entry, static_cast<int>(host.CountCalls(entry)));
    }
  reference.failures = host.Failures();
  host.ClearFailures();
  return reference;
}

std::vector<SessionFault> SweepFaults(const std::string& family, const std::string& pluginFile) {
  std::vector<SessionFault> faults;
  if (family == "published") AddPublished(faults);
  else if (family == "methods") AddMethods(faults);
  else if (family == "signatures") AddSignatures(faults);
  else if (family == "initializers") AddInitializers(faults);
  else if (family == "answers") AddAnswers(faults);
  else if (family == "allocations") AddAllocations(faults, pluginFile);
  else if (family == "entries") AddEntries(faults, pluginFile);
  else if (family == "calls") AddEntryCalls(faults, pluginFile);
  return faults;
}

SessionFault FailingAllocations(const std::string& name, std::function<bool(int)> fails) {
  return KernelFault(name, [fails = std::move(fails)](Kernel& k) { k.FailAllocations(fails); });
}

std::vector<std::string> RunFaultThenClean(const std::string& pluginFile, const SessionFault& fault) {
  std::vector<std::string> found;
  auto take = [&](Host& host, const std::string& where) {
    for (const std::string& failure : host.Failures()) found.push_back(where + ": " + failure);
    host.ClearFailures();
  };
  Host host(pluginFile, Host::Mode::kTablesOnly);
  const SessionScene scene = BuildSessionScene(host.SceneModel());
  fault.inject(host);
  host.Load();
  RunSession(host, scene);
  take(host, "with " + fault.name);

  fault.heal(host);
  scene.mesh->polygons = 6;
  host.Load();
  const SessionRecord clean = RunSession(host, scene);
  const std::string after = "in the clean session after " + fault.name;
  if (clean.init != 1) found.push_back(after + ": the initialisation answered " + std::to_string(clean.init));
  if (clean.start != 1) found.push_back(after + ": the start answered " + std::to_string(clean.start));
  if (clean.firstDisplay != ExpectedFirstDisplay()) found.push_back(after + ": the first display is not the scene's counts");
  take(host, after);
  return found;
}

}  // namespace testhost
