// Session scripts on any bytes: the reader takes them or refuses them with a
// UsageError naming the file and line. A script it takes is then played, as in
// the interactive session, on the default scene: each event is carried out or
// refused with a UsageError, and the session must end without a host fault.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "events.h"
#include "fuzz_support.h"
#include "session.h"

namespace {

constexpr std::size_t kMostEventsPlayed = 32;

std::vector<cli::ScriptLine> Read(const std::string& text) {
  std::istringstream in(text);
  try {
    return cli::ReadScript(in, "input.script");
  } catch (const cli::UsageError& error) {
    if (error.message.rfind("input.script:", 0) != 0) fuzz::Fail("an error without file and line: " + error.message);
    return {};
  }
}

void Play(const std::vector<cli::ScriptLine>& script) {
  cli::Session session(testhost::Host::DefaultPluginFile(), STATLUME_FUZZ_SCENE, "");
  if (!session.Start()) fuzz::Fail("the plug-in registered no command", session.Faults());
  session.RunCommand();
  for (std::size_t i = 0; i < script.size() && i < kMostEventsPlayed; ++i) {
    try {
      cli::ApplyEvent(session, script[i].event);
    } catch (const cli::UsageError&) {
      // Refused as in the interactive session, which goes on with the next event.
    }
    (void)session.View();
  }
  if (!session.Finish()) fuzz::Fail("the host recorded faults", session.Faults());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<cli::ScriptLine> script = Read(std::string(reinterpret_cast<const char*>(data), size));
  int previous = 0;
  for (const cli::ScriptLine& line : script) {
    if (line.number <= previous) fuzz::Fail("script lines out of order");
    previous = line.number;
    for (char c : line.event.text)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') fuzz::Fail("a control character in a line taken");
  }
  if (!script.empty()) Play(script);
  return 0;
}
