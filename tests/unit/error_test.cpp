// Standard errors, copy on write, release, and the shared null-return errors.
#include "error.h"
#include "interfaces.h"
#include "refcount.h"
#include "runtime_fixture.h"

namespace {

constexpr core::SourceLocation kHere{"tests/unit/error_test.cpp", 42, 0};

const testhost::ErrorValue& Value(core::ErrorRef error) {
  return *reinterpret_cast<const testhost::ErrorValue*>(error);
}

}  // namespace

using ErrorTest = BoundRuntimeTest;

TEST_F(ErrorTest, CreatedErrorsAreStampedCopiesOfThePrototype) {
  testhost::ErrorValue* prototype = kernel().Prototype(core::kErrorOutOfMemory);
  const core::ErrorRef error = core::CreateError(kHere, core::kErrorOutOfMemory);
  ASSERT_NE(error, nullptr);
  EXPECT_NE(static_cast<const void*>(error), prototype);
  EXPECT_EQ(*Value(error).message, "out of memory");
  EXPECT_TRUE(Value(error).located);
  EXPECT_STREQ(Value(error).location.file, kHere.file);
  EXPECT_EQ(Value(error).location.line, 42);
  EXPECT_EQ(kernel().CountWord(error), 16);
  // The prototype is left as it was: one reference, no location.
  EXPECT_EQ(kernel().CountWord(prototype), 16);
  EXPECT_FALSE(prototype->located);
  core::ReleaseError(error);
  EXPECT_FALSE(kernel().IsLiveObject(error));
}

TEST_F(ErrorTest, CodesAboveFiveAreTheUnknownError) {
  for (int code : {6, 7, 99, -1}) {
    const core::ErrorRef error = core::CreateError(kHere, code);
    EXPECT_EQ(*Value(error).message, "unknown") << code;
    core::ReleaseError(error);
  }
  const core::ErrorRef unresolved = core::CreateError(kHere, core::kErrorUnresolved);
  EXPECT_EQ(*Value(unresolved).message, "unresolved");
  core::ReleaseError(unresolved);
}

TEST_F(ErrorTest, MakeUnsharedCopiesOnlySharedObjects) {
  testhost::ErrorValue* object = kernel().NewError(core::kErrorIllegalState, testhost::Owner::kPlugin);
  EXPECT_EQ(core::MakeUnshared(object), object);  // count word 16: used in place

  kernel().CountWord(object) = 24;
  const void* copy = core::MakeUnshared(object);
  EXPECT_NE(copy, object);
  EXPECT_EQ(kernel().CountWord(copy), 16);
  EXPECT_FALSE(kernel().IsLiveObject(object));  // releasing the shared reference was its last

  testhost::ErrorValue* shared = kernel().NewError(core::kErrorIllegalState, testhost::Owner::kPlugin);
  kernel().CountWord(shared) = 32;
  const void* second = core::MakeUnshared(shared);
  EXPECT_NE(second, shared);
  EXPECT_EQ(kernel().CountWord(shared), 16);
  kernel().DestroyObject(shared);
  core::ReleaseError(static_cast<core::ErrorRef>(copy));
  core::ReleaseError(static_cast<core::ErrorRef>(second));
}

TEST_F(ErrorTest, ReleaseDestroysOnlyWithTheLastReference) {
  testhost::ErrorValue* object = kernel().NewError(core::kErrorIllegalState, testhost::Owner::kPlugin);
  kernel().CountWord(object) = 32;
  core::ReleaseObject(object);
  ASSERT_TRUE(kernel().IsLiveObject(object));
  EXPECT_EQ(kernel().CountWord(object), 16);
  kernel().CountWord(object) = 31;  // still below 32: the last reference
  core::ReleaseObject(object);
  EXPECT_FALSE(kernel().IsLiveObject(object));
  // The host runs the routine it is handed before it frees the object: it is one.
  const auto frees = host().CallsTo(testhost::MethodId{"net.hostapp.system", "PrivateFreeWithDestructor"});
  ASSERT_FALSE(frees.empty());
  EXPECT_EQ(frees.back().Ptr<void>(0), static_cast<void*>(object));
  EXPECT_NE(frees.back().args.at(1), 0u);
}

namespace {
// The caller owns the reference it gets and releases it.
const void* Released(core::ErrorRef error) {
  core::ReleaseError(error);
  return error;
}
}  // namespace

TEST_F(ErrorTest, NullReturnErrorsAreTheSharedPrototypes) {
  EXPECT_EQ(Released(core::PrivateGetNullReturnError(0)), static_cast<const void*>(kernel().Prototype(core::kErrorNullPointer)));
  EXPECT_EQ(Released(core::PrivateGetNullReturnError(1)), static_cast<const void*>(kernel().Prototype(core::kErrorNullPointer)));
  EXPECT_EQ(Released(core::PrivateGetNullReturnError(2)), static_cast<const void*>(kernel().Prototype(core::kErrorUnresolved)));
  EXPECT_EQ(Released(core::PrivateGetNullReturnError(3)), static_cast<const void*>(kernel().Prototype(core::kErrorNotImplemented)));
  EXPECT_EQ(Console(), "");
}

TEST_F(ErrorTest, UnsupportedNullReturnReasonIsReported) {
  EXPECT_EQ(Released(core::PrivateGetNullReturnError(4)), static_cast<const void*>(kernel().Prototype(core::kErrorNullPointer)));
  EXPECT_EQ(Console(), "CRITICAL: Stop: reason not supported by PrivateGetNullReturnError. [object.cpp(690)]\n");
}

class ErrorWithoutPrototypeTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override {
    k.UnpublishDeclaration("net.hostapp.error.outofmemory");
    k.UnpublishDeclaration("net.hostapp.error.nullpointer");
  }
};

TEST_F(ErrorWithoutPrototypeTest, AFailureStillSurfacesAsAnError) {
  const core::ErrorRef error = core::CreateError(kHere, core::kErrorOutOfMemory);
  ASSERT_NE(error, nullptr);
  EXPECT_TRUE(core::IsModuleLocalError(error));
  core::ReleaseError(error);  // harmless: never freed
  EXPECT_NE(core::PrivateGetNullReturnError(0), nullptr);
  EXPECT_TRUE(core::IsModuleLocalError(core::PrivateGetNullReturnError(0)));
  // Another kind still comes from its prototype.
  const core::ErrorRef other = core::CreateError(kHere, core::kErrorIllegalState);
  EXPECT_FALSE(core::IsModuleLocalError(other));
  core::ReleaseError(other);
}

class ErrorCopyFailsTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override {
    k.UnpublishMethod("net.hostapp.system", iface::System::PrivateCloneObject);
  }
};

TEST_F(ErrorCopyFailsTest, PrototypeIsNeverStampedInPlace) {
  testhost::ErrorValue* prototype = kernel().Prototype(core::kErrorIllegalArgument);
  const core::ErrorRef error = core::CreateError(kHere, core::kErrorIllegalArgument);
  EXPECT_TRUE(core::IsModuleLocalError(error));
  EXPECT_FALSE(prototype->located);
  EXPECT_EQ(kernel().CountWord(prototype), 16);
}

// A host that publishes the error identifier as a function-table interface too:
// the module's object-dispatch reference still binds to the error class, so
// errors are still stamped through it.
class ErrorAlsoPublishedAsTableTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override { k.PublishAlsoAsTable("net.hostapp.error"); }
};

TEST_F(ErrorAlsoPublishedAsTableTest, ErrorsAreStillStampedThroughTheirClass) {
  const core::ErrorRef error = core::CreateError(kHere, core::kErrorIllegalArgument);
  ASSERT_TRUE(kernel().IsLiveObject(error));
  EXPECT_TRUE(Value(error).located);
  EXPECT_EQ(Value(error).location.line, 42);
  core::ReleaseError(error);
}
