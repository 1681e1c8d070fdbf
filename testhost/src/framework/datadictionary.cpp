// The data dictionary interface: boolean values by identifier key.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::DataDictionary;
constexpr MethodId kGetBool{I::kName, "GetBool"};

bool GetBool(const void* dictionary, const IdValue* key, bool fallback) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  const Holding* holding = kernel.Objects().Find(dictionary);
  if (!contract.Check(kernel.IsLiveObject(dictionary) && holding != nullptr && holding->kind == "dictionary",
                      "dictionary", "must be a live dictionary") ||
      !contract.NotNull(key, "key") || !contract.NotNull(key->text, "key.text"))
    return fallback;
  contract.Check(key->word == MakeId(key->text).word, "key", "must be a well-formed identifier");
  const auto* values = static_cast<const DictionaryValue*>(dictionary)->values;
  auto found = values->find(IdText(*key));
  return found != values->end() ? found->second : fallback;
}

}  // namespace

void PublishDataDictionary(Kernel& kernel) { kernel.PublishTable<I>({Recorded<kGetBool, &GetBool, kAnyThread>()}); }

}  // namespace testhost
