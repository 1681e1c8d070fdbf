#include "refcount.h"

#include "hostservices.h"

namespace core {

void ReleaseObject(const void* object) {
  if (object != nullptr && DropReference(object)) HostFreeObject(object);
}

}  // namespace core
