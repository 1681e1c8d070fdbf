// Lazy data type holders.
#include "datatype.h"
#include "runtime_fixture.h"
#include "testhost/kernel.h"

namespace {
const void* TypeOf(const core::LazyDataTypeHolder& holder) { return holder.type; }
}  // namespace

using DataTypeTest = BoundRuntimeTest;

TEST_F(DataTypeTest, FirstUseObtainsTheTypeAndMarksItStatic) {
  ASSERT_EQ(core::g_int32Type.type, nullptr);
  EXPECT_EQ(core::HeldDataType(core::g_int32Type), reinterpret_cast<const core::DataTypeObject*>(kernel().Int32Type()));
  EXPECT_EQ(kernel().Int32Type()->flags & 1u, 1u);
  EXPECT_TRUE(core::IsStaticDataType(core::g_int32Type.type));
  EXPECT_EQ(Console(), "");
  // The holder is in its module's list.
  bool listed = false;
  for (const core::ModuleEntry* module = g_framework.modules; module != nullptr; module = module->nextModule)
    for (const core::LazyDataTypeHolder* holder = module->dataTypes; holder != nullptr; holder = holder->next)
      listed = listed || holder == &core::g_int32Type;
  EXPECT_TRUE(listed);
}

class UnregisteredDataTypeTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override { k.FailDataType(testhost::Kernel::kUnregisteredDataType); }
};

TEST_F(UnregisteredDataTypeTest, FallsBackToTheInvalidTypeSilently) {
  const core::ErrorRef error = core::InitializeDataType(core::g_int32Type, true);
  EXPECT_NE(error, nullptr);
  EXPECT_EQ(TypeOf(core::g_int32Type), kernel().InvalidType());
  EXPECT_EQ(Console(), "");
  core::ReleaseError(error);
}

class FailingDataTypeTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override { k.FailDataType(core::kErrorIllegalState); }
};

TEST_F(FailingDataTypeTest, OtherFailuresAreReportedWithTheErrorText) {
  const core::ErrorRef error = core::InitializeDataType(core::g_int32Type, true);
  EXPECT_EQ(TypeOf(core::g_int32Type), kernel().InvalidType());
  EXPECT_EQ(Console(), "Error while initializing data type: illegal state\n");
  ASSERT_FALSE(kernel().Console().empty());
  EXPECT_EQ(kernel().Console().back().line, 39);
  core::ReleaseError(error);
  // Without the report flag nothing is written.
  core::g_int32Type.type = nullptr;
  core::ReleaseError(core::InitializeDataType(core::g_int32Type, false));
  EXPECT_EQ(kernel().Console().size(), 1u);
}
