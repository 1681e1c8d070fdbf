#pragma once
// Dialogs, user areas and custom GUIs without a host handle, and containers the host
// could not make: every operation answers its failure value and hands the host no
// null handle and no unmade storage. Shared by the tests of each header concerned.
#include <cstddef>
#include <map>
#include <utility>

#include "host_userarea.h"
#include "runtime_fixture.h"

// A user area that asks for a minimum size and records its last size.
class MinSizeArea : public GeUserArea {
 public:
  bool QueryMinSize(std::int32_t& width, std::int32_t& height) override {
    width = 64;
    height = 32;
    return true;
  }
  void OnResized(std::int32_t width, std::int32_t height) override { resized = {width, height}; }
  std::pair<std::int32_t, std::int32_t> resized{-1, -1};
};

class MissingHandleTest : public BoundRuntimeTest {
 protected:
  void TearDown() override {
    for (std::size_t i = 0; i < used_; ++i) windows().DestroyContainer(&containers_[i]);
    BoundRuntimeTest::TearDown();
  }
  // No call of `id` passed a null pointer as argument `at` (the handle).
  ::testing::AssertionResult NoNullHandleTo(testhost::EntryId id, std::size_t at = 0) {
    for (const testhost::Call& call : host().CallsTo(id))
      if (call.Ptr<void>(at) == nullptr)
        return ::testing::AssertionFailure() << testhost::Describe(id) << " got a null handle";
    return ::testing::AssertionSuccess();
  }
  // A container the host made, with Int32 values.
  const GeContainer& Container(std::int32_t id, const std::map<std::int32_t, std::int64_t>& ints = {}) {
    testhost::ContainerStorage& storage = containers_[used_++];
    windows().InitContainer(&storage, id, nullptr);
    windows().Container(&storage)->ints = ints;
    return *reinterpret_cast<const GeContainer*>(&storage);
  }
  GeContainer& Result() { return const_cast<GeContainer&>(Container(-1)); }

 private:
  testhost::ContainerStorage containers_[16]{};
  std::size_t used_ = 0;
};
