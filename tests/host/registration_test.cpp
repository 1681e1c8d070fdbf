// The module description the kernel reads through g_framework, read as the host
// reads it: by byte offset.
#include <cstring>
#include <map>
#include <vector>

#include "fixture.h"
#include "testhost/records.h"

using testhost::ReadAt;
using testhost::Records;
namespace record = testhost::record;

namespace {

std::uint64_t ExpectedWord(const std::string& text) {
  std::uint64_t hash = 0;
  for (unsigned char c : text) hash = hash * 31 + c;
  return (std::uint64_t{text.size()} << 44) | (hash & 0x7ffffffffffULL);
}

}  // namespace

class RegistrationTest : public PluginTest {
 protected:
  Records records() { return Records(kernel().Framework()); }
};

TEST_F(RegistrationTest, ModuleRecordListsTheFourModules) {
  void* framework = kernel().Framework();
  ASSERT_NE(framework, nullptr);
  EXPECT_EQ(ReadAt<std::uint64_t>(framework, 0), 2023904u);
  EXPECT_EQ(ReadAt<std::uint64_t>(framework, 8), 2024000u);
  std::vector<std::string> ids;
  for (const unsigned char* m : records().Modules()) ids.push_back(Records::Name(m));
  // Newest first: the math module's register unit runs last.
  EXPECT_EQ(ids, (std::vector<std::string>{"net.hostapp.math.framework", "net.hostapp.core.framework",
                                           "net.hostapp.scene.framework", "com.quorvant.statlume"}));
  for (const unsigned char* m : records().Modules()) {
    EXPECT_EQ(Records::Kind(m), 9);
    EXPECT_EQ(ReadAt<void*>(m, record::kModuleFramework), framework);
    const std::uint32_t given = Records::Name(m) == "com.quorvant.statlume" ? 0u : 0x8001000u;
    EXPECT_EQ(Records::Flags(m), given | 0x201u) << Records::Name(m);
  }
}

TEST_F(RegistrationTest, DependencyListsInStoredOrder) {
  const std::string p = "net.hostapp.";
  EXPECT_EQ(records().ModuleDependencies(records().Module("com.quorvant.statlume")),
            (std::vector<std::string>{p + "scene.framework", p + "command.framework", p + "core.framework",
                                      p + "crypt.framework", p + "image.framework", p + "math.framework",
                                      p + "mesh_misc.framework", p + "modeling_geom.framework",
                                      p + "python.framework"}));
  EXPECT_EQ(records().ModuleDependencies(records().Module(p + "scene.framework")),
            (std::vector<std::string>{p + "core.framework", p + "math.framework", p + "mesh_misc.framework",
                                      p + "modeling_geom.framework"}));
  EXPECT_EQ(records().ModuleDependencies(records().Module(p + "math.framework")),
            (std::vector<std::string>{p + "core.framework"}));
  EXPECT_EQ(ReadAt<void*>(records().Module(p + "core.framework"), record::kModuleDependencies), nullptr);
}

TEST_F(RegistrationTest, EveryIdentifierCarriesItsHashAndLength) {
  int checked = 0;
  auto check = [&](const unsigned char* r) {
    const testhost::IdValue id = Records::Id(r);
    if (id.text == nullptr) return;
    EXPECT_EQ(id.word, ExpectedWord(Records::Name(r))) << Records::Name(r);
    ++checked;
  };
  for (const unsigned char* m : records().Modules()) {
    check(m);
    for (const unsigned char* u : records().Units(m)) {
      check(u);
      for (const unsigned char* c : records().Children(u)) check(c);
    }
    for (const unsigned char* r : records().References(m)) check(r);
  }
  EXPECT_GT(checked, 50);
}

TEST_F(RegistrationTest, PluginRegisterUnitAndReflection) {
  const unsigned char* plugin = records().Module("com.quorvant.statlume");
  const unsigned char* reg = records().Unit(plugin, "register.cpp");
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(Records::Flags(reg), 256u | 0x201u);
  // Its module entry is its child, and it uses the object class declaration.
  EXPECT_EQ(records().Children(reg).front(), plugin);
  ASSERT_EQ(records().Uses(reg).size(), 1u);
  const unsigned char* use = records().Uses(reg).front();
  EXPECT_STREQ(ReadAt<const char*>(use, record::kUseHeader), "core/objectbase");
  const auto* declaration = ReadAt<const unsigned char*>(use, record::kUseDeclaration);
  EXPECT_EQ(Records::Name(declaration), "net.hostapp.class.object");
  EXPECT_EQ(Records::Kind(declaration), record::kClass);

  const unsigned char* reflection = records().Unit(plugin, "[reflection registration]");
  ASSERT_NE(reflection, nullptr);
  EXPECT_EQ(Records::Flags(reflection) & 0x8400000u, 0x8400000u);
  ASSERT_EQ(records().Children(reflection).size(), 1u);
  const unsigned char* initializer = records().Children(reflection).front();
  EXPECT_EQ(Records::Name(initializer), ".reflection");
  EXPECT_EQ(Records::Kind(initializer), record::kInitializer);
  EXPECT_EQ(ReadAt<std::int32_t>(initializer, record::kInitializerPriority), 128);

  // The placeholder unit keeps its name and flags.
  const unsigned char* placeholder = records().Units(plugin).back();
  EXPECT_EQ(Records::Name(placeholder), "??");
  EXPECT_EQ(Records::Flags(placeholder) & 0x2000000u, 0x2000000u);
}

TEST_F(RegistrationTest, UnitsAreNamedByTheirInitializers) {
  const unsigned char* core = records().Module("net.hostapp.core.framework");
  const unsigned char* configuration = records().Unit(core, "configuration.cpp");
  ASSERT_NE(configuration, nullptr);
  std::vector<std::string> children;
  for (const unsigned char* c : records().Children(configuration))
    children.push_back(Records::Name(c) + "/" + std::to_string(Records::Kind(c)));
  EXPECT_EQ(children, (std::vector<std::string>{"configuration/11", "configuration.cpp/10"}));

  const unsigned char* cpuid = records().Unit(core, "cpuid.cpp");
  if (testhost::build::kWindows) {
    EXPECT_EQ(cpuid, nullptr) << "the Windows build carries no CPU feature unit";
    return;
  }
  ASSERT_NE(cpuid, nullptr);
  ASSERT_EQ(records().Dependencies(cpuid).size(), 1u);
  const unsigned char* dependency = records().Dependencies(cpuid).front();
  EXPECT_STREQ(ReadAt<const char*>(dependency, record::kDependencyName), ".cpuidinit");
  const auto* initializer = ReadAt<const unsigned char*>(dependency, record::kDependencyInitializer);
  EXPECT_EQ(Records::Name(initializer), "cpuidinit");
  EXPECT_EQ(ReadAt<const unsigned char*>(dependency, record::kDependencyInitializerAgain), initializer);

  // Units whose records name no file keep the placeholder name.
  int unnamed = 0;
  for (const unsigned char* u : records().Units(core)) {
    if (Records::Name(u) != "??") continue;
    ++unnamed;
    for (const unsigned char* c : records().Children(u)) EXPECT_NE(Records::Kind(c), record::kStartFunctions);
  }
  EXPECT_GT(unnamed, 0);
  // Units that define configuration variables depend on the configuration initializer.
  int dependents = 0;
  for (const unsigned char* u : records().Units(core))
    for (const unsigned char* d : records().Dependencies(u))
      if (std::string(ReadAt<const char*>(d, record::kDependencyName)) == ".configuration") ++dependents;
  EXPECT_GE(dependents, 2);
}

TEST_F(RegistrationTest, InterfaceReferencesCarryTheirNameLists) {
  const unsigned char* core = records().Module("net.hostapp.core.framework");
  const unsigned char* logger = records().Reference(core, "net.hostapp.logger");
  ASSERT_NE(logger, nullptr);
  EXPECT_EQ(Records::Kind(logger), record::kTableInterface);
  EXPECT_EQ(ReadAt<std::int64_t>(logger, record::kMethodCount), 1);
  const char* names = ReadAt<const char*>(logger, record::kMethodNames);
  const std::string single = "Write@c2dead756832d917";
  ASSERT_EQ(std::string(names), single);
  EXPECT_EQ(names[single.size() + 1], '\0');  // ended by an empty entry
  EXPECT_EQ(ReadAt<void**>(logger, record::kTableEnd), ReadAt<void**>(logger, record::kTable) + 1);
  EXPECT_EQ(Records::Flags(logger) & 0x40000000u, 0x40000000u);

  const unsigned char* string = records().Reference(core, "net.hostapp.string");
  std::vector<std::string> entries;
  for (const char* e = ReadAt<const char*>(string, record::kMethodNames); *e != '\0'; e += std::strlen(e) + 1)
    entries.push_back(e);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[1].substr(0, 6), "Alloc@");
  EXPECT_EQ(entries[2].substr(0, 6), "Alloc@");  // overloads: same name, other hash
  EXPECT_NE(entries[1], entries[2]);

  // Bound object-dispatch reference, and an unbound one with an empty name list.
  const unsigned char* error = records().Reference(core, "net.hostapp.error");
  EXPECT_EQ(ReadAt<std::uint64_t>(error, record::kMethodOffset), kernel().MethodOffset("net.hostapp.error"));
  EXPECT_EQ(ReadAt<std::int64_t>(error, record::kMinusOne), -1);
  const unsigned char* math = records().Module("net.hostapp.math.framework");
  const unsigned char* noise = records().Reference(math, "net.hostapp.math.noise");
  ASSERT_NE(noise, nullptr);
  EXPECT_EQ(ReadAt<std::uint64_t>(noise, record::kMethodOffset), record::kUnboundMethodOffset);
  EXPECT_EQ(ReadAt<const char*>(noise, record::kObjectMethodNames)[0], '\0');
  const unsigned char* registry = records().Reference(math, "net.hostapp.math.registry.fftclasses");
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(Records::Kind(registry), record::kRegistry);
}

TEST_F(RegistrationTest, StaticIdentifierConstantsAreFilledByTheKernel) {
  namespace module = testhost::module;
  std::vector<std::string> texts;
  for (auto* node = ReadAt<const unsigned char*>(kernel().Framework(), module::kConstants); node != nullptr;
       node = ReadAt<const unsigned char*>(node, module::kNodeNext)) {
    texts.push_back(ReadAt<const char*>(node, module::kNodeText));
    const auto* constant = ReadAt<const unsigned char*>(node, module::kNodeConstant);
    EXPECT_NE(ReadAt<std::uint64_t>(constant, 0), 0u);
  }
  EXPECT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts.back(), "net.hostapp.initialization.blockingstart");
  EXPECT_EQ(texts.front(), "net.hostapp.initialization.messageid");
}

TEST_F(RegistrationTest, SpinDelegateIsExportedAndReplaceable) {
  auto* delegate = static_cast<void (**)(void*, void*)>(host().Symbol("g_CpuYieldDelegate"));
  ASSERT_NE(delegate, nullptr);
  ASSERT_NE(*delegate, nullptr);
  (*delegate)(nullptr, nullptr);  // the static delegate does nothing
}

TEST_F(RegistrationTest, OwnedIdentifierIsReleasedAtUnload) {
  // The kernel may leave an identifier whose text it allocated through the framework.
  const testhost::Location where{"the kernel", 1, 0};
  auto* text = static_cast<char*>(kernel().Allocate(4, &where, "net.hostapp.system.Free"));
  std::memcpy(text, "abc", 4);
  void* framework = kernel().Framework();
  testhost::WriteAt(framework, testhost::module::kIdSlot, text);
  testhost::WriteAt(framework, testhost::module::kIdSlot + 8, ExpectedWord("abc") | testhost::id::kOwnedText);
  EXPECT_EQ(kernel().LiveAllocations(), 1u);
  host().Unload();
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
}
