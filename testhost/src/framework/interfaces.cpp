#include "testhost/framework_interfaces.h"

namespace testhost {

namespace {

void PublishEveryInterface(Kernel& kernel) {
  PublishSystem(kernel);
  PublishApplication(kernel);
  PublishDataTypeLibrary(kernel);
  PublishLogger(kernel);
  PublishString(kernel);
  PublishStringConversion(kernel);
  PublishCString(kernel);
  PublishThreadServices(kernel);
  PublishJobQueue(kernel);
  PublishDataDictionary(kernel);
}

}  // namespace

Publications FrameworkInterfaces() {
  return Publications{&PublishEveryInterface, ErrorSetLocationMethod(), ErrorGetMessageMethod()};
}

}  // namespace testhost
