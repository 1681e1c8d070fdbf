// Command-line host: loads the plug-in, drives its life cycle and shows what the
// host saw.
#include <cstring>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

#include "testhost/host.h"

namespace {

std::string Arguments(const testhost::Call& call) {
  std::ostringstream out;
  for (std::size_t i = 0; i < call.args.size(); ++i)
    out << (i ? ", " : "") << "0x" << std::hex << call.args[i];
  return out.str();
}

void Step(const char* what, int answer) {
  std::cout << "  " << std::left << std::setw(36) << what << "-> " << answer << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::string pluginFile = testhost::Host::DefaultPluginFile();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin") == 0 && i + 1 < argc) pluginFile = argv[++i];
  }

  testhost::Host host(pluginFile);
  std::cout << "Statlume test host\n";
  std::cout << "plug-in library: " << host.PluginFile() << "\n\n";
  std::cout << "life cycle:\n";
  Step("action 1 (tables and plug-in path)", host.Init());
  Step("message 1 (resource folder)", host.Message(1));
  Step("action 2 (start)", host.Start());
  Step("action 3 (end)", host.End());

  std::cout << "\nhost calls (" << host.Calls().size() << "):\n";
  for (const testhost::Call& call : host.Calls())
    std::cout << "  " << testhost::Describe(call.entry) << " (" << Arguments(call) << ")\n";

  std::cout << "\nconsole lines (host logger):\n";
  for (const testhost::LogLine& line : host.Framework().LogLines())
    std::cout << "  " << line.text << "\n";
  if (host.Framework().LogLines().empty()) std::cout << "  (none)\n";
  std::cout << "\ndiagnostics (host console):\n";
  for (const testhost::ConsoleWrite& write : host.Framework().Console()) std::cout << "  " << write.text;
  if (host.Framework().Console().empty()) std::cout << "  (none)\n";

  host.Unload();
  std::cout << "\nplug-in standard output:\n";
  std::istringstream lines(host.Stdout());
  std::string line;
  bool any = false;
  while (std::getline(lines, line)) {
    std::cout << "  " << line << "\n";
    any = true;
  }
  if (!any) std::cout << "  (nothing)\n";

  if (!host.Failures().empty()) {
    std::cout << "\nhost faults:\n";
    for (const std::string& failure : host.Failures()) std::cout << "  " << failure << "\n";
    return 1;
  }
  return 0;
}
