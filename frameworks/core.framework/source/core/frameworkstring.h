#pragma once
// Framework strings: reference-counted host string objects, made writable, filled
// and read only through the host's string interface.
#include "entityrecords.h"
#include "interfaces.h"

namespace core {

class String {
 public:
  String() = default;  // the empty string (no object)
  // A string made from zero-terminated text; empty when the host cannot make one.
  explicit String(const char* text);
  String(const String& other);
  String& operator=(const String& other);
  ~String();

  // Replaces the reference by a private writable object (a new empty one when null).
  ErrorRef MakeWritable(const SourceLocation& where);
  ErrorRef SetCString(const char* text, const SourceLocation& where);

  const StringObject* Object() const { return object_; }
  bool IsNull() const { return object_ == nullptr; }
  // The slot itself, for host operations that take or fill a string.
  StringObject** Slot() { return &object_; }
  StringObject* const* Slot() const { return &object_; }

 private:
  void Release();
  StringObject* object_ = nullptr;
};

// A string is one slot holding the object: hosts hand strings over as that slot.
static_assert(sizeof(String) == sizeof(void*));

// C text of a string, owned until destruction.
class CText {
 public:
  explicit CText(const String& string);
  ~CText();
  CText(const CText&) = delete;
  CText& operator=(const CText&) = delete;
  const char* Text() const { return text_; }
  ErrorRef Error() const { return error_; }

 private:
  char* text_ = nullptr;
  ErrorRef error_ = nullptr;
};

// Writes a framework string through DebugOutput (see Output of a framework string).
void OutputString(uint32_t flags, String string, int line, const char* file);

// Declaration of the host's UTF-8 decoding, passed when strings are set from text.
extern DeclarationReference g_utf8Decoding;

}  // namespace core
