#pragma once
// The host's keyed container (GeContainer) and typed value (GeValue), reached only
// through the container and typed-value sub-tables.
#include <stdint.h>

#include "host_path.h"
#include "operatingsystem.h"

// Storage for one host container, constructed in place by the host. The host's
// container has no size the plug-in can know: the room is generous (four times what
// a container of a few pointers needs) and aligned for any member, so that a host
// whose container is larger than ours would have been still writes inside it.
struct GeContainer {
  alignas(16) unsigned char storage[64];
};
static_assert(sizeof(GeContainer) == 64 && alignof(GeContainer) == 16,
              "the room given to a host container: 64 bytes, 16-aligned");

// The host's typed value: a kind code and an 8-byte value.
struct GeValue {
  int32_t kind;
  int32_t padding;
  int64_t value;
};
static_assert(sizeof(GeValue) == 16);
static_assert(__builtin_offsetof(GeValue, value) == 8);

inline constexpr int32_t kGeValueInt32 = 15;
inline constexpr int32_t kGeValueFloat64 = 19;

inline constexpr HostOp<&t_HostOS_Bc, 40, void(GeContainer*, int32_t, const GeContainer*)> ContainerInit{};
inline constexpr HostOp<&t_HostOS_Bc, 56, void(GeContainer*)> ContainerDestroy{};
inline constexpr HostOp<&t_HostOS_Bc, 64, int32_t(const GeContainer*)> ContainerGetId{};
inline constexpr HostOp<&t_HostOS_Bc, 104, void(GeContainer*, int32_t, int32_t)> ContainerSetInt32{};
inline constexpr HostOp<&t_HostOS_Bc, 112, void(GeContainer*, int32_t, const StringSlot*)> ContainerSetString{};
inline constexpr HostOp<&t_HostOS_Bc, 352, int32_t(const GeContainer*, int32_t, int32_t)> ContainerGetInt32{};

inline constexpr HostOp<&t_HostOS_Gd, 0, void(GeValue*)> GeValueDestroy{};
inline constexpr HostOp<&t_HostOS_Gd, 112, int32_t(const GeValue*)> GeValueGetInt32{};
inline constexpr HostOp<&t_HostOS_Gd, 328, void(GeValue*, const GeValue*)> GeValueInitEmpty{};

// A container the plug-in owns for one scope. Constructed and destroyed only while
// the container table is bound. Storage the host did not construct is never handed
// to a host entry: its operations then do nothing (Id answers 0), and callers check
// Constructed before they pass get() on.
class LocalContainer {
 public:
  explicit LocalContainer(int32_t id, const GeContainer* source = nullptr);
  ~LocalContainer();
  LocalContainer(const LocalContainer&) = delete;
  LocalContainer& operator=(const LocalContainer&) = delete;

  bool Constructed() const { return constructed_; }
  GeContainer* get() { return &container_; }
  const GeContainer* get() const { return &container_; }
  int32_t Id() const { return constructed_ ? ContainerGetId(&container_) : 0; }
  void SetInt32(int32_t key, int32_t value) {
    if (constructed_) ContainerSetInt32(&container_, key, value);
  }
  void SetString(int32_t key, const StringSlot* text) {
    if (constructed_) ContainerSetString(&container_, key, text);
  }
  int32_t GetInt32(int32_t key, int32_t fallback) const {
    return constructed_ ? ContainerGetInt32(&container_, key, fallback) : fallback;
  }

 private:
  GeContainer container_{};
  bool constructed_ = false;
};

// Releases what a typed value holds, only while the host record is bound.
void ReleaseGeValue(GeValue& value);
