// The kernel's framework objects and framework memory, with their owners. Ended
// objects and freed memory stay reserved (and, under the address sanitizer,
// poisoned), so that a late use or a second release is caught, never reused; the
// latest kReservedBlocks of them, so that a long session does not grow.
// Every block of framework memory is followed by guard bytes, checked when the
// block goes back and at unload, so that a write past its end is caught.
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#else
// A compiler without the sanitizer's header builds without it: nothing to poison.
#define ASAN_POISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#endif

#include <cstdlib>
#include <cstring>

#include "testhost/fault_log.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

const char* const kErrorMessages[] = {"out of memory",  "null pointer", "illegal argument", "illegal state",
                                      "function not implemented", "unresolved", "unknown"};
const char* const kErrorKinds[] = {"out-of-memory error", "null-pointer error", "illegal-argument error",
                                   "illegal-state error", "not-implemented error", "unresolved error",
                                   "unknown error"};

constexpr const char* kStringFree = "net.hostapp.string.Free";
constexpr const char* kObjectFree = "net.hostapp.system.PrivateFreeWithDestructor";
constexpr const char* kMemoryFree = "net.hostapp.system.Free";

// A block still reserved is still named by the registry.
static_assert(kReservedBlocks < kReleasedRecords);

// The guard after every block: a pattern the plug-in has no reason to write. Under
// the address sanitizer the guard is poisoned too, so that the write itself is
// reported where it happens.
constexpr std::size_t kGuardSize = 16;
constexpr unsigned char kGuardByte = 0xFD;

void SetGuard(char* block, std::size_t size) {
  std::memset(block + size, kGuardByte, kGuardSize);
  ASAN_POISON_MEMORY_REGION(block + size, kGuardSize);
}

// The first guard byte that changed, counted from the start of the block, or -1.
long ChangedGuardByte(char* block, std::size_t size) {
  ASAN_UNPOISON_MEMORY_REGION(block + size, kGuardSize);
  long changed = -1;
  for (std::size_t at = 0; at < kGuardSize && changed < 0; ++at)
    if (static_cast<unsigned char>(block[size + at]) != kGuardByte) changed = static_cast<long>(size + at);
  ASAN_POISON_MEMORY_REGION(block + size, kGuardSize);
  return changed;
}

}  // namespace

Kernel::~Kernel() {
  jobs_.reset();
  for (const auto& ended : graveyard_) ASAN_UNPOISON_MEMORY_REGION(ended.first, 8);
  for (auto& [object, destroy] : objects_)
    if (destroy) destroy(const_cast<void*>(object));
  for (auto& [object, block] : blocks_) std::free(block);
  for (auto& [block, info] : memory_)
    if (!info.released) {
      ASAN_UNPOISON_MEMORY_REGION(static_cast<char*>(block) + info.size, kGuardSize);
      std::free(block);
    }
  for (const auto& ended : graveyard_) std::free(ended.first);
}

void Kernel::Bury(char* block, bool memory) {
  ASAN_POISON_MEMORY_REGION(block, 8);
  graveyard_.emplace_back(block, memory);
  if (graveyard_.size() <= kReservedBlocks) return;
  const auto [oldest, wasMemory] = graveyard_.front();
  graveyard_.pop_front();
  ASAN_UNPOISON_MEMORY_REGION(oldest, 8);
  if (wasMemory) memory_.erase(oldest);
  std::free(oldest);
}

void* Kernel::NewObject(std::size_t size, const std::uint8_t* descriptor, std::function<void(void*)> destroy,
                        Owner owner, const std::string& kind, const std::string& origin) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto* block = static_cast<char*>(std::calloc(1, 8 + size));
  WriteAt<std::int64_t>(block, 0, object::kReferenceUnit);
  void* object = block + 8;
  WriteAt(object, 0, descriptor);
  objects_[object] = std::move(destroy);
  blocks_[object] = block;
  const bool isString = kind.rfind("string", 0) == 0;
  ownership_.HandOut(object, kind, owner, origin, owner == Owner::kPlugin ? (isString ? kStringFree : kObjectFree) : "");
  if (owner == Owner::kHost) hostObjects_.push_back(object);
  return object;
}

bool Kernel::IsLiveObject(const void* object) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return objects_.count(object) != 0;
}

std::int64_t& Kernel::CountWord(const void* object) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return *reinterpret_cast<std::int64_t*>(blocks_.at(object));
}

std::int64_t Kernel::Count(const void* object) { return __atomic_load_n(&CountWord(object), __ATOMIC_ACQUIRE); }

void Kernel::SetCount(const void* object, std::int64_t value) {
  __atomic_store_n(&CountWord(object), value, __ATOMIC_RELEASE);
}

void Kernel::DestroyObject(const void* object) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = objects_.find(object);
  if (found == objects_.end()) {
    faults_.Fail("destroying an object the host does not know");
    return;
  }
  if (found->second) found->second(const_cast<void*>(object));
  char* block = blocks_.at(object);
  blocks_.erase(object);
  objects_.erase(found);
  ownership_.Retire(object);
  std::erase(hostObjects_, object);
  Bury(block, false);
}

bool Kernel::FreeByPlugin(const void* object, const std::string& route) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (objects_.count(object) == 0) {
    if (ownership_.Find(object) != nullptr)
      ownership_.GiveBack(object, route);  // names what it was and that it went before
    else
      faults_.Fail(route + ": the plug-in freed something that is not a live framework object");
    return false;
  }
  if (!ownership_.GiveBack(object, route)) {
    // The host keeps its object: its count word goes back to the host's reference.
    SetCount(object, object::kReferenceUnit);
    return false;
  }
  DestroyObject(object);
  return true;
}

FrameworkObject* Kernel::NewString(const std::string& text, Owner owner, const std::string& origin) {
  auto* string = static_cast<StringValue*>(NewObject(
      sizeof(StringValue), plainDescriptor_.data(),
      [](void* object) { delete static_cast<StringValue*>(object)->text; }, owner, "string \"" + text + "\"", origin));
  string->text = new std::string(text);
  return reinterpret_cast<FrameworkObject*>(string);
}

std::string Kernel::StringText(const void* string) const {
  if (string == nullptr) return std::string();
  if (!IsLiveObject(string) || ReadAt<const std::uint8_t*>(string, 0) != plainDescriptor_.data()) {
    faults_.Fail(Serving::Current() + ": " + ownership_.Name(string) + " is not a live string");
    return std::string();
  }
  return *static_cast<const StringValue*>(string)->text;
}

ErrorValue* Kernel::NewError(int code, Owner owner, const std::string& origin) {
  const int index = code >= 0 && code < error::kCount ? code : error::kUnknown;
  const std::string kind = owner == Owner::kHost ? std::string(kErrorKinds[index]) + " prototype" : kErrorKinds[index];
  auto* error = static_cast<ErrorValue*>(NewObject(
      sizeof(ErrorValue), errorDescriptor_.data(),
      [](void* object) { delete static_cast<ErrorValue*>(object)->message; }, owner, kind, origin));
  error->message = new std::string(kErrorMessages[index]);
  error->code = index;
  return error;
}

ErrorHandle Kernel::PluginError(int code, const std::string& origin) {
  return reinterpret_cast<ErrorHandle>(NewError(code, Owner::kPlugin, origin));
}

std::string Kernel::ErrorText(const void* error) const {
  if (error == nullptr) return "no error";
  if (!IsLiveObject(error)) return "module-local error";
  return *static_cast<const ErrorValue*>(error)->message;
}

FrameworkObject* Kernel::NewDictionary(const std::map<std::string, bool>& values, Owner owner,
                                       const std::string& origin) {
  auto* dictionary = static_cast<DictionaryValue*>(NewObject(
      sizeof(DictionaryValue), plainDescriptor_.data(),
      [](void* object) { delete static_cast<DictionaryValue*>(object)->values; }, owner, "dictionary", origin));
  dictionary->values = new std::map<std::string, bool>(values);
  return reinterpret_cast<FrameworkObject*>(dictionary);
}

void Kernel::DropReference(const void* object) {
  if (object == nullptr || !IsLiveObject(object)) return;
  const std::int64_t before = __atomic_fetch_sub(&CountWord(object), object::kReferenceUnit, __ATOMIC_ACQ_REL);
  if (before < 2 * object::kReferenceUnit) DestroyObject(object);
}

// ---- framework memory ----

bool Kernel::TakeAllocation() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const int number = ++allocationCount_;
  return !(failAllocation_ && failAllocation_(number));
}

void* Kernel::Allocate(std::size_t size, const Location* where, const std::string& route) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto* block = static_cast<char*>(std::calloc(1, size + kGuardSize));
  SetGuard(block, size);
  const std::string origin = Serving::Current() + " at " + Describe(where);
  memory_[block] = Block{size, false};
  ownership_.HandOut(block, "memory block of " + std::to_string(size) + " bytes", Owner::kPlugin, origin, route);
  return block;
}

bool Kernel::Release(void* block, const std::string& route) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (block == nullptr) return false;
  auto found = memory_.find(block);
  if (found == memory_.end() || found->second.released) {
    if (ownership_.Find(block) != nullptr)
      ownership_.GiveBack(block, route);
    else
      faults_.Fail(route + ": freeing memory the host did not allocate");
    return false;
  }
  // Memory from Alloc may also go back with the object it holds, or be moved.
  const Holding* holding = ownership_.Find(block);
  if (holding != nullptr && holding->route == kMemoryFree &&
      (route == kObjectFree || route == "net.hostapp.system.Realloc"))
    ownership_.Transfer(block, Owner::kPlugin, route);
  if (!ownership_.GiveBack(block, route)) return false;
  CheckGuard(block, found->second.size, route);
  ASAN_UNPOISON_MEMORY_REGION(static_cast<char*>(block) + found->second.size, kGuardSize);
  found->second.released = true;
  Bury(static_cast<char*>(block), true);
  return true;
}

bool Kernel::IsBlock(const void* block) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = memory_.find(const_cast<void*>(block));
  return found != memory_.end() && !found->second.released;
}

std::size_t Kernel::BlockSize(const void* block) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = memory_.find(const_cast<void*>(block));
  return found != memory_.end() ? found->second.size : 0;
}

void Kernel::CheckGuard(void* block, std::size_t size, const std::string& when) {
  const long changed = ChangedGuardByte(static_cast<char*>(block), size);
  if (changed >= 0)
    faults_.Fail(when + ": the plug-in wrote past the end of " + ownership_.Name(block) + " (byte " +
               std::to_string(changed) + " changed)");
}

std::size_t Kernel::LiveAllocations() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::size_t live = 0;
  for (const auto& [block, info] : memory_) live += info.released ? 0 : 1;
  return live;
}

std::size_t Kernel::ReservedBlocks() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return graveyard_.size();
}

// ---- ownership checks ----

void Kernel::CheckHostObjects() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  for (const void* object : hostObjects_) {
    const std::int64_t count = Count(object);
    if (count >= object::kReferenceUnit) continue;
    faults_.Fail("the plug-in over-released " + ownership_.Name(object) + ": its count word is " +
               std::to_string(count));
    SetCount(object, object::kReferenceUnit);
  }
}

void Kernel::CheckReleased() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  CheckHostObjects();
  for (const void* object : hostObjects_) {
    const std::int64_t count = Count(object);
    if (count >= 2 * object::kReferenceUnit)
      faults_.Fail("the plug-in still holds a reference to " + ownership_.Name(object) + " at unload (count word " +
                 std::to_string(count) + ")");
  }
  for (auto& [block, info] : memory_)
    if (!info.released && ownership_.IsLive(block)) CheckGuard(block, info.size, "at unload");
  ownership_.CheckNothingHeld([this](const std::string& route) { return Offers(route); });
}

}  // namespace testhost
