#pragma once
// The strict host on the window side: a wrong argument or a wrong use of an object
// the host handed out fails the test, naming the entry, the argument and the object.
// Shared by the contract tests of the dialog, container and user-area entries.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "host_userarea.h"
#include "runtime_fixture.h"

// A dialog that does, while it handles a message, what a test asks of it.
class ScriptedDialog : public GeDialog {
 public:
  std::int32_t HandleMessage(const GeContainer& message, GeContainer& result) override {
    if (script) script(message, result);
    return GeDialog::HandleMessage(message, result);
  }
  std::function<void(const GeContainer&, GeContainer&)> script;
};

inline const StringSlot* Text(const core::String& text) { return text.Slot(); }

class WindowContractTest : public BoundRuntimeTest {
 protected:
  // The host reported exactly one fault, and it names each of `parts`; the fault
  // is then forgotten, as it was expected.
  ::testing::AssertionResult OneFault(std::initializer_list<std::string> parts) {
    const std::vector<std::string> faults = host().Failures();
    host().ClearFailures();
    if (faults.size() != 1) {
      auto result = ::testing::AssertionFailure() << faults.size() << " faults:";
      for (const std::string& fault : faults) result << "\n  " << fault;
      return result;
    }
    for (const std::string& part : parts)
      if (faults[0].find(part) == std::string::npos)
        return ::testing::AssertionFailure() << "\"" << faults[0] << "\" does not name \"" << part << "\"";
    return ::testing::AssertionSuccess();
  }
  // An entry called with raw argument types, as a faulty caller could.
  template <typename F>
  F* Raw(testhost::EntryId id) {
    return reinterpret_cast<F*>(static_cast<void**>(host().TablePointer(id.table))[id.offset / 8]);
  }
  std::intptr_t Operate(DialogHandle handle, std::int32_t operation, std::int32_t id, const StringSlot* text,
                        std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0, std::int32_t d = 0,
                        void* pointer = nullptr, void** out = nullptr) {
    return ElementOperation(handle, operation, id, text, a, b, c, d, pointer, out);
  }
  testhost::Window& window(GeDialog& dialog) { return *windows().Find(dialog.WindowHandle()); }
};
