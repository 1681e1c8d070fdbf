// t_HostOS_Cu: user areas inside dialogs. Every entry but the release takes a live
// user area the host created; the release also accepts null.
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/ownership.h"
#include "window_arguments.h"
#include "window_tables.h"

namespace testhost {

namespace {

void UserAreaRelease(void* handle) {
  if (handle == nullptr) return;  // nothing attached yet
  if (HostWindows().WasReleasedArea(handle)) {
    CurrentObjects().GiveBack(handle, Describe(entry::UserAreaRelease));  // names the earlier release
    return;
  }
  Contract contract;
  UserArea* area = LiveArea(contract, handle);
  if (area != nullptr && CurrentObjects().GiveBack(area, Describe(entry::UserAreaRelease)))
    HostWindows().ReleaseUserArea(*area);
}

void* UserAreaUserData(void* handle) {
  Contract contract;
  UserArea* area = LiveArea(contract, handle);
  return area != nullptr ? area->userData : nullptr;
}

std::int32_t UserAreaWidth(void* handle) {
  Contract contract;
  UserArea* area = LiveArea(contract, handle);
  return area != nullptr ? area->width : 0;
}

std::int32_t UserAreaHeight(void* handle) {
  Contract contract;
  UserArea* area = LiveArea(contract, handle);
  return area != nullptr ? area->height : 0;
}

std::int32_t UserAreaElementId(void* handle) {
  Contract contract;
  UserArea* area = LiveArea(contract, handle);
  return area != nullptr ? area->elementId : 0;
}

void UserAreaSetMinSize(void* handle, std::int32_t width, std::int32_t height) {
  Contract contract;
  UserArea* area = LiveArea(contract, handle);
  contract.Check(width >= 0, "width", "must not be negative, was " + std::to_string(width));
  contract.Check(height >= 0, "height", "must not be negative, was " + std::to_string(height));
  if (area == nullptr) return;
  area->minWidth = width;
  area->minHeight = height;
}

void UserAreaFillRect(void* handle, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  Contract contract;
  if (UserArea* area = LiveArea(contract, handle)) area->fills.push_back({area->pen, x1, y1, x2, y2});
}

void UserAreaSetPen(void* handle, std::int32_t colour) {
  Contract contract;
  if (UserArea* area = LiveArea(contract, handle)) area->pen = colour;
}

}  // namespace

void InstallUserAreaEntries(HostTables& tables) {
  Install<entry::UserAreaRelease, &UserAreaRelease, kMainThread>(tables);
  Install<entry::UserAreaUserData, &UserAreaUserData, kMainThread>(tables);
  Install<entry::UserAreaWidth, &UserAreaWidth, kMainThread>(tables);
  Install<entry::UserAreaHeight, &UserAreaHeight, kMainThread>(tables);
  Install<entry::UserAreaElementId, &UserAreaElementId, kAnyThread>(tables);
  Install<entry::UserAreaSetMinSize, &UserAreaSetMinSize, kMainThread>(tables);
  Install<entry::UserAreaFillRect, &UserAreaFillRect, kMainThread>(tables);
  Install<entry::UserAreaSetPen, &UserAreaSetPen, kMainThread>(tables);
}

}  // namespace testhost
