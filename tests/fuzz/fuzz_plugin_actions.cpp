// The plug-in's entry point with whatever a host may send: each input is a
// sequence of plugin_main calls (init, start, end, query, messages, unknown
// actions) with known and unknown ids and with the values a host can pass: null,
// or pointers to buffers the host owns. Each input gets a fresh host and a fresh
// copy of the library; after the last call the host unloads the plug-in, and no
// input may leave the host with a fault.
#include <array>
#include <cstdint>
#include <memory>

#include "fuzz_support.h"
#include "testhost/host.h"
#include "testhost/numbers.h"

namespace {

using testhost::Host;
namespace action = testhost::action;

constexpr std::int32_t kKnownActions[] = {action::kInit, action::kStart, action::kEnd, action::kQuery,
                                          action::kMessage, 0, 5, 7, -1};
constexpr std::int32_t kKnownMessages[] = {testhost::pluginmessage::kNone, testhost::pluginmessage::kLoadResources,
                                           2, -1, 1000};
constexpr std::int32_t kHostVersions[] = {testhost::kHostVersion, testhost::kHostVersion - 1,
                                          testhost::kHostVersion + 1, 0};

// Buffers of the host's own that it may hand along with a call.
struct HostBuffers {
  std::array<std::array<unsigned char, 256>, 3> bytes{};

  void* Pick(FuzzedDataProvider& in) {
    const int choice = in.ConsumeIntegralInRange<int>(0, 3);
    if (choice == 3) return nullptr;
    auto& buffer = bytes[static_cast<std::size_t>(choice)];
    const std::string fill = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, 16));
    for (std::size_t i = 0; i < fill.size(); ++i) buffer[i] = static_cast<unsigned char>(fill[i]);
    return buffer.data();
  }
};

void RunInput(FuzzedDataProvider& in) {
  auto host = std::make_unique<Host>();
  HostBuffers buffers;
  // The host announces its version in the record; an older or newer host is
  // refused at init, never crashed.
  host->SetVersion(fuzz::MostlyOneOf(in, kHostVersions));
  // A host always starts with init; it starts the plug-in only once it took it.
  const bool accepted = host->Init() == 1;
  bool started = false;
  for (int calls = 0; calls < 64 && in.remaining_bytes() > 0; ++calls) {
    switch (in.ConsumeIntegralInRange<int>(0, 6)) {
      case 0:
        if (accepted && !started) {
          started = true;
          host->Start();
        }
        break;
      case 1:
        host->Message(fuzz::MostlyOneOf(in, kKnownMessages), buffers.Pick(in));
        break;
      case 2:
        host->PluginMain(action::kQuery, buffers.Pick(in), buffers.Pick(in), buffers.Pick(in));
        break;
      case 3: {
        // Any action but the life-cycle ones, which have their own cases.
        std::int32_t id = fuzz::MostlyOneOf(in, kKnownActions);
        if (id == action::kInit || id == action::kStart || id == action::kEnd) id = action::kQuery;
        if (id == action::kMessage) {
          // The message id travels in the first value as a number.
          host->PluginMain(id, reinterpret_cast<void*>(static_cast<std::intptr_t>(in.ConsumeIntegral<std::int32_t>())),
                           buffers.Pick(in));
        } else {
          host->PluginMain(id, buffers.Pick(in), buffers.Pick(in), buffers.Pick(in));
        }
        break;
      }
      case 4:
        // A further init, as when the host opens the library again; each is
        // matched by an end (the last one at unload).
        host->Init();
        break;
      case 5:
        // An end that is not the last one.
        if (host->LifecycleCount() > 1) host->End();
        break;
      case 6:
        host->Message(testhost::pluginmessage::kLoadResources);
        break;
    }
    fuzz::RequireNoFailure(*host, "after a call");
  }
  host->Unload();
  fuzz::RequireNoFailure(*host, "at unload");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  RunInput(in);
  return 0;
}
