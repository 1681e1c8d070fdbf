// The strict host's container and typed-value entries (host_container.h,
// t_HostOS_Bc and t_HostOS_Gd, served by the test host's bc_containers.cpp and
// gd_values.cpp): containers and values live for the call that made them, the
// host's messages are read-only, and each container is constructed and destroyed
// once.
#include "window_contract_fixture.h"

namespace code = testhost::code;

TEST_F(WindowContractTest, ContainersAndValuesLastOnlyForTheCallThatMadeThem) {
  ScriptedDialog dialog;
  testhost::Window& target = window(dialog);
  GeContainer kept{};
  dialog.script = [&](const GeContainer&, GeContainer&) { ContainerInit(&kept, 7, nullptr); };
  windows().Send(target, code::MciM);
  EXPECT_TRUE(OneFault({"still held container #", "(ContainerInit) with id 7", "when its call returned",
                        "(ContainerDestroy)"}));
  dialog.script = nullptr;
  ContainerDestroy(&kept);  // late, but its own
  EXPECT_TRUE(host().Failures().empty());

  dialog.AddLabel(1001, 57, 0, 0, core::String(), 0);
  GeValue answer{0, 0, 0};
  dialog.script = [&](const GeContainer&, GeContainer&) {
    LocalContainer message(code::bTIC);
    message.SetString(code::bTIC, Text(core::String("1")));
    message.SetInt32(code::tris, 0);
    message.SetInt32(code::valu, 0);
    SendElementMessage(&answer, dialog.WindowHandle(), 1001, message.get(), nullptr);
  };
  windows().Send(target, code::MciM);
  EXPECT_TRUE(OneFault({"still held typed value #", "(SendElementMessage) to element 1001", "(GeValueDestroy)"}));
  ReleaseGeValue(answer);
  ReleaseGeValue(answer);
  EXPECT_TRUE(OneFault({"(GeValueDestroy)", "typed value #", "twice"}));
  GeValueGetInt32(&answer);
  EXPECT_TRUE(OneFault({"(GeValueGetInt32)", "argument 'value'", "released already"}));
}

TEST_F(WindowContractTest, TheHostsMessagesAreReadOnly) {
  ScriptedDialog dialog;
  dialog.script = [](const GeContainer& message, GeContainer&) {
    ContainerSetInt32(const_cast<GeContainer*>(&message), code::meid, 1);
  };
  windows().Send(window(dialog), code::bACT);
  EXPECT_TRUE(OneFault({"(ContainerSetInt32)", "argument 'container'", "host container #", "may only read"}));
  dialog.script = [](const GeContainer& message, GeContainer&) { ContainerDestroy(const_cast<GeContainer*>(&message)); };
  windows().Send(window(dialog), code::bACT);
  EXPECT_TRUE(OneFault({"(ContainerDestroy)", "host container #", "belongs to the host"}));
}

TEST_F(WindowContractTest, ContainersAreConstructedOnceAndDestroyedOnce) {
  GeContainer storage{};
  ContainerInit(&storage, 1, nullptr);
  ContainerDestroy(&storage);
  ContainerDestroy(&storage);
  EXPECT_TRUE(OneFault({"(ContainerDestroy)", "container #", "twice"}));
  ContainerGetId(&storage);
  EXPECT_TRUE(OneFault({"(ContainerGetId)", "argument 'container'", "destroyed already"}));
  GeContainer stranger{};
  ContainerGetInt32(&stranger, code::meid, 0);
  EXPECT_TRUE(OneFault({"(ContainerGetInt32)", "argument 'container'", "holds no container"}));

  ContainerInit(&storage, 1, nullptr);
  const GeContainer first = storage;
  ContainerInit(&storage, 2, nullptr);
  EXPECT_TRUE(OneFault({"(ContainerInit)", "argument 'storage'", "still holds container #", "loses it"}));
  ContainerDestroy(&storage);
  ContainerDestroy(const_cast<GeContainer*>(&first));
  EXPECT_TRUE(host().Failures().empty());
}
