#include "frameworkstring.h"

#include "debugoutput.h"
#include "error.h"
#include "object.h"
#include "refcount.h"
#include "register.h"
#include "registration.h"

namespace core {

DeclarationReference g_utf8Decoding;

namespace {

using StringApi = iface::String;

TranslationUnitRecord g_stringUnit;
[[maybe_unused]] auto& g_unit = RegisterUnit(g_stringUnit, g_coreModule, kUnnamedUnit, 0);
[[maybe_unused]] auto& g_decoding = RegisterDeclaration(g_utf8Decoding, kEntityDeclaration,
                                                        iface::decl::kUtf8Decoding,
                                                        g_coreRegisterUnit, g_coreModule);
UsedDeclaration g_usesString;
[[maybe_unused]] auto& g_use =
    RegisterUsedDeclaration(g_usesString, &TableBinding<StringApi>::reference.head, g_stringUnit,
                            "core/string", 0);

constexpr SourceLocation kFromText{__FILE__, __LINE__, 0};

}  // namespace

core::String::String(const char* text) {
  if (ErrorRef error = SetCString(text, kFromText)) ReleaseError(error);
}

core::String::String(const String& other) : object_(other.object_) {
  if (object_ != nullptr) AddReference(object_);
}

core::String& core::String::operator=(const String& other) {
  // Taken before the release, which clears object_ (and other's, when it is this).
  StringObject* const object = other.object_;
  if (object != nullptr) AddReference(object);
  Release();
  object_ = object;
  return *this;
}

core::String::~String() { Release(); }

void core::String::Release() {
  if (object_ != nullptr && DropReference(object_)) Method<StringApi, StringApi::Free>(object_);
  object_ = nullptr;
}

ErrorRef core::String::MakeWritable(const SourceLocation& where) {
  const Result<StringObject*> made = object_ == nullptr
                                         ? Method<StringApi, StringApi::AllocEmpty>(&where)
                                         : Method<StringApi, StringApi::AllocCopy>(object_, &where);
  if (made.error != nullptr || made.value == nullptr) {
    ReleaseError(made.error);
    return PrivateGetNullReturnError(kNullReturnNullPointerAlt);
  }
  *CountWord(made.value) = kReferenceUnit;
  Release();
  object_ = made.value;
  return nullptr;
}

ErrorRef core::String::SetCString(const char* text, const SourceLocation& where) {
  if (ErrorRef error = MakeWritable(where)) return error;
  const void* decoding = ReadDeclaration(g_utf8Decoding, nullptr);
  return Method<StringApi, StringApi::SetCString>(object_, text, -1, decoding);
}

CText::CText(const core::String& string) {
  const Result<char*> text = Method<StringApi, StringApi::GetCString>(string.Object());
  text_ = text.value;
  error_ = text.error;
}

CText::~CText() {
  if (text_ != nullptr) Method<iface::CString, iface::CString::Free>(text_);
  ReleaseError(error_);
}

void OutputString(uint32_t flags, core::String string, int line, const char* file) {
  if (string.IsNull()) {
    DebugOutput(kOutputCriticalLocated, "Console output failed", line, file);
    return;
  }
  if (!IsBound(TableBinding<StringApi>::reference)) return;
  const CText text(string);
  if (text.Error() != nullptr || text.Text() == nullptr) {
    static constexpr SourceLocation kConversion{__FILE__, __LINE__, 0};
    ReleaseError(CreateError(kConversion, kErrorOutOfMemory));
    return;
  }
  DebugOutput(flags, text.Text(), line, file);
}

}  // namespace core
