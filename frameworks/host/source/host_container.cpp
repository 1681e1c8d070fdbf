#include "host_container.h"

LocalContainer::LocalContainer(int32_t id, const GeContainer* source) {
  if (t_HostOS_Bc == nullptr || ContainerInit.Resolve() == nullptr) return;
  ContainerInit(&container_, id, source);
  constructed_ = true;
}

LocalContainer::~LocalContainer() {
  if (constructed_ && t_HostOS_Bc != nullptr) ContainerDestroy(&container_);
}

void ReleaseGeValue(GeValue& value) {
  if (t_HostOS != nullptr && t_HostOS_Gd != nullptr) GeValueDestroy(&value);
}
