// The framework interfaces the test host publishes, with real behaviour.
#include <cstdlib>
#include <cstring>
#include <thread>

#include "error.h"
#include "refcount.h"
#include "testhost/host.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using core::ErrorRef;
using core::Result;
using core::SourceLocation;
using core::StringObject;

Kernel& K() { return Host::Current().Framework(); }

StringValue* AsString(const StringObject* string) {
  if (string == nullptr || !K().IsLiveObject(string)) {
    Host::Current().Fail("a string method was given something that is not a live string");
    return nullptr;
  }
  return reinterpret_cast<StringValue*>(const_cast<StringObject*>(string));
}

ErrorRef NewPluginError(int code) { return reinterpret_cast<ErrorRef>(K().NewError(code, true)); }

// --- system ---
void* SystemAlloc(std::size_t size, const SourceLocation* where) {
  if (!K().TakeAllocation()) return nullptr;
  return K().Allocate(size, where);
}

void* SystemRealloc(void* block, std::size_t size, const SourceLocation* where) {
  if (!K().TakeAllocation()) return nullptr;
  void* moved = K().Allocate(size, where);
  if (block != nullptr) {
    std::memcpy(moved, block, size);  // blocks are only ever grown by the plug-in
    K().Release(block);
  }
  return moved;
}

void SystemFree(void* block) { K().Release(block); }

void SystemFreeWithDestructor(const void* object, void (*destructor)(void*)) {
  if (object == nullptr) return;
  if (K().IsLiveObject(object)) {
    K().DestroyObject(object);
    return;
  }
  if (destructor != nullptr) destructor(const_cast<void*>(object));
  K().Release(const_cast<void*>(object));
}

void* SystemCloneObject(const void* object) {
  if (!K().IsLiveObject(object) || *static_cast<const std::uint8_t* const*>(object) == K().PlainDescriptor())
    return nullptr;
  const auto* original = static_cast<const ErrorValue*>(object);
  ErrorValue* copy = K().NewError(original->code, true);
  copy->descriptor = original->descriptor;
  *copy->message = *original->message;
  copy->location = original->location;
  copy->located = original->located;
  return copy;
}

void SystemConsoleOutput(const char* text, const SourceLocation* where, std::uint32_t flags, std::int32_t) {
  K().Write(ConsoleWrite{text != nullptr ? text : "", where != nullptr && where->file ? where->file : "",
                         where != nullptr ? where->line : 0, flags});
}

std::uint32_t SystemConsoleOutputType() { return K().ConsoleOutputType(); }

void SystemConfigurationRegister(const core::ConfigurationEntry* entry) { K().Register(entry); }

// --- application, data types, dictionaries ---
Result<const core::DictionaryObject*> ApplicationMachineInfo() {
  if (!K().MachineInfo()) return {NewPluginError(core::kErrorIllegalState), nullptr};
  return {nullptr, K().NewDictionary(*K().MachineInfo(), true)};
}

Result<StringObject*> ApplicationModuleLocation(const core::EntityId* id) {
  if (id == nullptr) return {NewPluginError(core::kErrorNullPointer), nullptr};
  auto found = K().moduleLocations.find(std::string(id->text, core::IdLength(*id)));
  if (found == K().moduleLocations.end()) return {NewPluginError(core::kErrorIllegalArgument), nullptr};
  return {nullptr, K().NewString(found->second)};
}

const core::DataTypeObject* DataTypeInvalid() {
  return reinterpret_cast<const core::DataTypeObject*>(K().InvalidType());
}

Result<const core::DataTypeObject*> DataTypeGet(const core::EntityId* id) {
  const int failure = K().DataTypeFailure();
  if (failure == Kernel::kUnregisteredDataType) {
    ErrorValue* error = K().NewError(core::kErrorUnknown, true);
    error->descriptor = K().UnregisteredDescriptor();
    *error->message = "unregistered data type";
    return {reinterpret_cast<ErrorRef>(error), nullptr};
  }
  if (failure != 0) return {NewPluginError(failure), nullptr};
  const auto text = [](const core::EntityId& value) {
    return std::string(value.text, core::IdLength(value));
  };
  if (id != nullptr && text(*id) == text(iface::decl::kInt32Type))
    return {nullptr, reinterpret_cast<const core::DataTypeObject*>(K().Int32Type())};
  return {NewPluginError(core::kErrorIllegalArgument), nullptr};
}

bool DictionaryGetBool(const core::DictionaryObject* dictionary, const core::EntityId* key, bool fallback) {
  if (dictionary == nullptr || key == nullptr) return fallback;
  const auto* values = reinterpret_cast<const DictionaryValue*>(dictionary)->values;
  auto found = values->find(std::string(key->text, core::IdLength(*key)));
  return found != values->end() ? found->second : fallback;
}

// --- logger ---
ErrorRef LoggerWrite(core::LoggerObject*, std::int32_t target, const StringObject* text,
                     const SourceLocation* where, std::int32_t level) {
  K().Log(LogLine{target, level, K().StringText(text), where != nullptr && where->file ? where->file : "",
                  where != nullptr ? where->line : 0});
  return nullptr;
}

// --- strings ---
void StringFree(StringObject* string) {
  if (AsString(string) != nullptr) K().DestroyObject(string);
}

Result<StringObject*> StringAllocEmpty(const SourceLocation*) {
  if (!K().TakeAllocation()) return {NewPluginError(core::kErrorOutOfMemory), nullptr};
  return {nullptr, K().NewString("")};
}

Result<StringObject*> StringAllocCopy(const StringObject* source, const SourceLocation*) {
  if (!K().TakeAllocation()) return {NewPluginError(core::kErrorOutOfMemory), nullptr};
  const StringValue* value = AsString(source);
  return {nullptr, K().NewString(value != nullptr ? *value->text : "")};
}

Result<char*> StringGetCString(const StringObject* string) {
  const std::string text = string != nullptr ? K().StringText(string) : std::string();
  auto* copy = static_cast<char*>(K().Allocate(text.size() + 1, nullptr));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return {nullptr, copy};
}

ErrorRef StringSetCString(StringObject* string, const char* text, std::int64_t length, const void*) {
  StringValue* value = AsString(string);
  if (value == nullptr) return NewPluginError(core::kErrorNullPointer);
  if (text == nullptr) text = "";
  *value->text = length < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(length));
  return nullptr;
}

void CStringFree(char* text) { K().Release(text); }

ErrorRef ConversionAppendInt(StringObject* string, std::int64_t value, std::int32_t, const StringObject*) {
  StringValue* target = AsString(string);
  if (target == nullptr) return NewPluginError(core::kErrorNullPointer);
  *target->text += std::to_string(value);
  return nullptr;
}

ErrorRef ConversionAppendUnsigned(StringObject* string, std::uint64_t value, std::int32_t, const StringObject*) {
  StringValue* target = AsString(string);
  if (target == nullptr) return NewPluginError(core::kErrorNullPointer);
  *target->text += std::to_string(value);
  return nullptr;
}

Result<StringObject*> ConversionFormatMessage(const char* format, std::int64_t count,
                                              const void* const* arguments,
                                              const core::TextFormFunction* forms) {
  std::string text;
  std::int64_t next = 0;
  for (const char* at = format; *at != '\0'; ++at) {
    if (*at != '@' || next >= count) {
      text += *at;
      continue;
    }
    const Result<StringObject*> form = forms[next](arguments[next]);
    ++next;
    text += K().StringText(form.value);
    K().DropReference(form.value);
    K().DropReference(form.error);
  }
  return {nullptr, K().NewString(text)};
}

// --- threads and jobs ---
std::thread::id g_mainThread = std::this_thread::get_id();
std::int32_t ThreadCurrentType() { return std::this_thread::get_id() == g_mainThread ? 0 : 1; }
ErrorRef ThreadEnqueue(core::JobObject* job, core::QueueObject* queue) { return K().Jobs().Enqueue(job, queue); }
bool ThreadWait(core::JobObject* job, double timeout, std::int32_t) { return K().Jobs().Wait(job, timeout); }
ErrorRef ThreadGetResult(core::JobObject* job, double timeout, std::int32_t) {
  return K().Jobs().GetResult(job, timeout);
}
void ThreadCancel(core::JobObject* job) { K().Jobs().Cancel(job); }
void ThreadRemoveJobReference(core::JobObject* job) { K().Jobs().RemoveReference(job); }
core::QueueObject* QueueMain() { return K().Jobs().MainQueue(); }
void QueueFree(core::QueueObject*) {
  Host::Current().Fail("the plug-in released the last reference to the main-thread queue");
}

template <typename F>
void* Fn(F* function) {
  return reinterpret_cast<void*>(function);
}

}  // namespace

void PublishFrameworkInterfaces(Kernel& kernel) {
  using namespace iface;
  static_assert(std::is_same_v<decltype(SystemAlloc), System::AllocFn>);
  kernel.PublishTable<System>({Fn<System::AllocFn>(SystemAlloc), Fn<System::ReallocFn>(SystemRealloc),
                               Fn<System::FreeFn>(SystemFree),
                               Fn<System::PrivateFreeWithDestructorFn>(SystemFreeWithDestructor),
                               Fn<System::PrivateCloneObjectFn>(SystemCloneObject),
                               Fn<System::ConsoleOutputFn>(SystemConsoleOutput),
                               Fn<System::GetConsoleOutputTypeFn>(SystemConsoleOutputType),
                               Fn<System::ConfigurationRegisterFn>(SystemConfigurationRegister)});
  kernel.PublishTable<Application>({Fn<Application::GetMachineInfoFn>(ApplicationMachineInfo),
                                    Fn<Application::GetModuleLocationFn>(ApplicationModuleLocation)});
  kernel.PublishTable<DataTypeLibrary>({Fn<DataTypeLibrary::GetInvalidTypeFn>(DataTypeInvalid),
                                        Fn<DataTypeLibrary::GetDataTypeFn>(DataTypeGet)});
  kernel.PublishTable<Logger>({Fn<Logger::WriteFn>(LoggerWrite)});
  kernel.PublishTable<String>({Fn<String::FreeFn>(StringFree), Fn<String::AllocEmptyFn>(StringAllocEmpty),
                               Fn<String::AllocCopyFn>(StringAllocCopy),
                               Fn<String::GetCStringFn>(StringGetCString),
                               Fn<String::SetCStringFn>(StringSetCString)});
  kernel.PublishTable<StringConversion>({Fn<StringConversion::AppendIntFn>(ConversionAppendInt),
                                         Fn<StringConversion::AppendIntUnsignedFn>(ConversionAppendUnsigned),
                                         Fn<StringConversion::FormatMessageFn>(ConversionFormatMessage)});
  kernel.PublishTable<CString>({Fn<CString::FreeFn>(CStringFree)});
  kernel.PublishTable<ThreadServices>({Fn<ThreadServices::GetCurrentThreadTypeFn>(ThreadCurrentType),
                                       Fn<ThreadServices::EnqueueFn>(ThreadEnqueue),
                                       Fn<ThreadServices::WaitFn>(ThreadWait),
                                       Fn<ThreadServices::GetResultFn>(ThreadGetResult),
                                       Fn<ThreadServices::CancelFn>(ThreadCancel),
                                       Fn<ThreadServices::RemoveJobReferenceFn>(ThreadRemoveJobReference)});
  kernel.PublishTable<JobQueue>({Fn<JobQueue::GetMainThreadQueueFn>(QueueMain), Fn<JobQueue::FreeFn>(QueueFree)});
  kernel.PublishTable<DataDictionary>({Fn<DataDictionary::GetBoolFn>(DictionaryGetBool)});
}

}  // namespace testhost
