#pragma once
// The framework interfaces the host publishes, one file each in src/framework/:
// what a kernel is handed to publish.
#include "testhost/kernel.h"

namespace testhost {

Publications FrameworkInterfaces();

// Publishers of the framework interfaces, one per interface.
void PublishSystem(Kernel& kernel);
void PublishApplication(Kernel& kernel);
void PublishDataTypeLibrary(Kernel& kernel);
void PublishLogger(Kernel& kernel);
void PublishString(Kernel& kernel);
void PublishStringConversion(Kernel& kernel);
void PublishCString(Kernel& kernel);
void PublishThreadServices(Kernel& kernel);
void PublishJobQueue(Kernel& kernel);
void PublishDataDictionary(Kernel& kernel);
// The error classes' methods, for their class descriptors.
void* ErrorSetLocationMethod();
void* ErrorGetMessageMethod();

}  // namespace testhost
