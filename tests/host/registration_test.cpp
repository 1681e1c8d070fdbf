// The module description the kernel reads through g_framework.
#include <cstring>
#include <map>
#include <vector>

#include "fixture.h"

namespace {

std::string Text(const core::EntityId& id) {
  return id.text != nullptr ? std::string(id.text, core::IdLength(id)) : std::string();
}

std::uint64_t ExpectedWord(const std::string& text) {
  std::uint64_t hash = 0;
  for (unsigned char c : text) hash = hash * 31 + c;
  return (std::uint64_t{text.size()} << 44) | (hash & 0x7ffffffffffULL);
}

std::vector<core::ModuleEntry*> Modules(core::ModuleRecord* framework) {
  std::vector<core::ModuleEntry*> modules;
  for (core::ModuleEntry* m = framework->modules; m != nullptr; m = m->nextModule) modules.push_back(m);
  return modules;
}

core::ModuleEntry* Module(core::ModuleRecord* framework, const std::string& id) {
  for (core::ModuleEntry* m : Modules(framework))
    if (Text(m->head.id) == id) return m;
  return nullptr;
}

std::vector<core::TranslationUnitRecord*> Units(core::ModuleEntry* module) {
  std::vector<core::TranslationUnitRecord*> units;
  for (core::EntityRecord* u = module->unitsHead; u != nullptr; u = u->next)
    units.push_back(reinterpret_cast<core::TranslationUnitRecord*>(u));
  return units;
}

core::TranslationUnitRecord* Unit(core::ModuleEntry* module, const std::string& name) {
  for (core::TranslationUnitRecord* u : Units(module))
    if (Text(u->head.id) == name) return u;
  return nullptr;
}

template <typename T>
T* Reference(core::ModuleEntry* module, const std::string& id) {
  for (core::EntityRecord* r = module->referencesHead; r != nullptr; r = r->next)
    if (Text(r->id) == id) return reinterpret_cast<T*>(r);
  return nullptr;
}

}  // namespace

class RegistrationTest : public PluginTest {
 protected:
  core::ModuleRecord* framework() { return kernel().Framework(); }
};

TEST_F(RegistrationTest, ModuleRecordListsTheFourModules) {
  ASSERT_NE(framework(), nullptr);
  EXPECT_EQ(framework()->versions[0], 2023904u);
  EXPECT_EQ(framework()->versions[1], 2024000u);
  std::vector<std::string> ids;
  for (core::ModuleEntry* m : Modules(framework())) ids.push_back(Text(m->head.id));
  // Newest first: the math module's register unit runs last.
  EXPECT_EQ(ids, (std::vector<std::string>{"net.hostapp.math.framework", "net.hostapp.core.framework",
                                           "net.hostapp.scene.framework", "com.quorvant.statlume"}));
  for (core::ModuleEntry* m : Modules(framework())) {
    EXPECT_EQ(m->head.kind, core::kEntityModule);
    EXPECT_EQ(m->framework, framework());
    const std::uint32_t given = Text(m->head.id) == "com.quorvant.statlume" ? 0u : 0x8001000u;
    EXPECT_EQ(m->head.flags, given | 0x201u) << Text(m->head.id);
  }
}

TEST_F(RegistrationTest, DependencyListsInStoredOrder) {
  core::ModuleEntry* plugin = Module(framework(), "com.quorvant.statlume");
  ASSERT_NE(plugin, nullptr);
  ASSERT_EQ(plugin->dependencyCount, 9);
  std::vector<std::string> names;
  for (int i = 0; i < 9; ++i) names.push_back(Text(plugin->dependencies[i]));
  const std::string p = "net.hostapp.";
  EXPECT_EQ(names, (std::vector<std::string>{
                       p + "scene.framework", p + "command.framework", p + "core.framework",
                       p + "crypt.framework", p + "image.framework", p + "math.framework",
                       p + "mesh_misc.framework", p + "modeling_geom.framework", p + "python.framework"}));
  core::ModuleEntry* scene = Module(framework(), "net.hostapp.scene.framework");
  ASSERT_EQ(scene->dependencyCount, 4);
  EXPECT_EQ(Text(scene->dependencies[0]), p + "core.framework");
  EXPECT_EQ(Text(scene->dependencies[3]), p + "modeling_geom.framework");
  core::ModuleEntry* math = Module(framework(), "net.hostapp.math.framework");
  ASSERT_EQ(math->dependencyCount, 1);
  EXPECT_EQ(Text(math->dependencies[0]), p + "core.framework");
  EXPECT_EQ(Module(framework(), "net.hostapp.core.framework")->dependencies, nullptr);
}

TEST_F(RegistrationTest, EveryIdentifierCarriesItsHashAndLength) {
  int checked = 0;
  auto check = [&](const core::EntityRecord& record) {
    if (record.id.text == nullptr) return;
    EXPECT_EQ(record.id.word, ExpectedWord(Text(record.id))) << Text(record.id);
    EXPECT_EQ(record.id.word & core::kIdOwnedText, 0u);
    ++checked;
  };
  for (core::ModuleEntry* m : Modules(framework())) {
    check(m->head);
    for (core::TranslationUnitRecord* u : Units(m)) {
      check(u->head);
      for (core::EntityRecord* c = u->childHead; c != nullptr; c = c->next) check(*c);
    }
    for (core::EntityRecord* r = m->referencesHead; r != nullptr; r = r->next) check(*r);
  }
  EXPECT_GT(checked, 50);
}

TEST_F(RegistrationTest, PluginRegisterUnitAndReflection) {
  core::ModuleEntry* plugin = Module(framework(), "com.quorvant.statlume");
  core::TranslationUnitRecord* reg = Unit(plugin, "register.cpp");
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->head.flags, 256u | 0x201u);
  // Its module entry is its child, and it uses the object class declaration.
  EXPECT_EQ(reg->childHead, &plugin->head);
  ASSERT_NE(reg->uses, nullptr);
  EXPECT_STREQ(reg->uses->header, "core/objectbase");
  EXPECT_EQ(Text(reg->uses->declaration->id), "net.hostapp.class.object");
  EXPECT_EQ(reg->uses->declaration->kind, core::kEntityClass);

  core::TranslationUnitRecord* reflection = Unit(plugin, "[reflection registration]");
  ASSERT_NE(reflection, nullptr);
  EXPECT_EQ(reflection->head.flags & 0x8400000u, 0x8400000u);
  ASSERT_NE(reflection->childHead, nullptr);
  const auto* initializer = reinterpret_cast<core::InitializerRecord*>(reflection->childHead);
  EXPECT_EQ(Text(initializer->head.id), ".reflection");
  EXPECT_EQ(initializer->head.kind, core::kEntityInitializer);
  EXPECT_EQ(initializer->priority, 128);

  // The placeholder unit keeps its name and flags.
  core::TranslationUnitRecord* placeholder = Units(plugin).back();
  EXPECT_EQ(Text(placeholder->head.id), "??");
  EXPECT_EQ(placeholder->head.flags & 0x2000000u, 0x2000000u);
}

TEST_F(RegistrationTest, UnitsAreNamedByTheirInitializers) {
  core::ModuleEntry* core = Module(framework(), "net.hostapp.core.framework");
  core::TranslationUnitRecord* configuration = Unit(core, "configuration.cpp");
  ASSERT_NE(configuration, nullptr);
  std::vector<std::string> children;
  for (core::EntityRecord* c = configuration->childHead; c != nullptr; c = c->next)
    children.push_back(Text(c->id) + "/" + std::to_string(c->kind));
  EXPECT_EQ(children, (std::vector<std::string>{"configuration/11", "configuration.cpp/10"}));

  core::TranslationUnitRecord* cpuid = Unit(core, "cpuid.cpp");
  ASSERT_NE(cpuid, nullptr);
  ASSERT_NE(cpuid->dependencies, nullptr);
  EXPECT_STREQ(cpuid->dependencies->name, ".cpuidinit");
  EXPECT_EQ(Text(cpuid->dependencies->initializer->head.id), "cpuidinit");
  EXPECT_EQ(cpuid->dependencies->initializer, cpuid->dependencies->initializerAgain);

  // Units whose records name no file keep the placeholder name.
  int unnamed = 0;
  for (core::TranslationUnitRecord* u : Units(core)) {
    if (Text(u->head.id) != "??") continue;
    ++unnamed;
    for (core::EntityRecord* c = u->childHead; c != nullptr; c = c->next)
      EXPECT_NE(c->kind, core::kEntityStartFunctions);
  }
  EXPECT_GT(unnamed, 0);
  // Units that define configuration variables depend on the configuration initializer.
  int dependents = 0;
  for (core::TranslationUnitRecord* u : Units(core))
    for (core::InitializerDependency* d = u->dependencies; d != nullptr; d = d->next)
      if (std::string(d->name) == ".configuration") ++dependents;
  EXPECT_GE(dependents, 2);
}

TEST_F(RegistrationTest, InterfaceReferencesCarryTheirNameLists) {
  core::ModuleEntry* core = Module(framework(), "net.hostapp.core.framework");
  auto* logger = Reference<core::FunctionTableReference>(core, "net.hostapp.logger");
  ASSERT_NE(logger, nullptr);
  EXPECT_EQ(logger->head.kind, core::kEntityTableInterface);
  EXPECT_EQ(logger->methodCount, 1);
  const std::string single = "Write@c2dead756832d917";
  ASSERT_EQ(std::string(logger->methodNames), single);
  EXPECT_EQ(logger->methodNames[single.size() + 1], '\0');  // ended by an empty entry
  EXPECT_EQ(logger->tableEnd, logger->table + 1);
  EXPECT_EQ(logger->head.flags & 0x40000000u, 0x40000000u);

  auto* string = Reference<core::FunctionTableReference>(core, "net.hostapp.string");
  std::vector<std::string> entries;
  for (const char* e = string->methodNames; *e != '\0'; e += std::strlen(e) + 1) entries.push_back(e);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[1].substr(0, 6), "Alloc@");
  EXPECT_EQ(entries[2].substr(0, 6), "Alloc@");  // overloads: same name, other hash
  EXPECT_NE(entries[1], entries[2]);

  // Bound object-dispatch reference, and an unbound one with an empty name list.
  auto* error = Reference<core::ObjectInterfaceReference>(core, "net.hostapp.error");
  EXPECT_EQ(error->methodOffset, kernel().MethodOffset("net.hostapp.error"));
  EXPECT_EQ(error->minusOne, -1);
  core::ModuleEntry* math = Module(framework(), "net.hostapp.math.framework");
  auto* noise = Reference<core::ObjectInterfaceReference>(math, "net.hostapp.math.noise");
  ASSERT_NE(noise, nullptr);
  EXPECT_EQ(noise->methodOffset, core::kUnboundMethodOffset);
  EXPECT_EQ(noise->methodNames[0], '\0');
  auto* registry = Reference<core::RegistryReference>(math, "net.hostapp.math.registry.fftclasses");
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(registry->head.kind, core::kEntityRegistry);
}

TEST_F(RegistrationTest, StaticIdentifierConstantsAreFilledByTheKernel) {
  std::vector<std::string> texts;
  for (core::StaticIdNode* node = framework()->constants; node != nullptr; node = node->next) {
    texts.push_back(node->text);
    EXPECT_EQ(&node->constant->node, node);
    EXPECT_NE(node->constant->value, 0u);
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
  auto* text = static_cast<char*>(kernel().Allocate(4, nullptr));
  std::memcpy(text, "abc", 4);
  framework()->idSlot = core::EntityId{text, core::Id("abc").word | core::kIdOwnedText};
  EXPECT_EQ(kernel().LiveAllocations(), 1u);
  host().Unload();
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
}
