// The Windows library's own entry point and the little C runtime start-up it needs.
// The library links against msvcrt.dll's import library only, which brings no DLL
// start-up code: this file runs the static initialisers at process attach and the
// module's own exit list at process detach, while the library is still mapped.
#include <stddef.h>

namespace {

using Initializer = void (*)();
using ExitRoutine = void (*)();

// The compiler places one pointer per source file's initialiser between these two
// markers; the linker orders the sections by name, so .CRT$XCA < .CRT$XCU < .CRT$XCZ.
__attribute__((section(".CRT$XCA"), used)) Initializer g_firstInitializer = nullptr;
__attribute__((section(".CRT$XCZ"), used)) Initializer g_lastInitializer = nullptr;

// Destructors of static objects, registered through atexit as they are built.
constexpr int kExitRoutines = 256;
ExitRoutine g_exitRoutines[kExitRoutines];
int g_exitRoutineCount = 0;

constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

void RunInitializers() {
  for (Initializer* at = &g_firstInitializer + 1; at < &g_lastInitializer; ++at)
    if (*at != nullptr) (*at)();  // the linker may pad between entries with nulls
}

void RunExitRoutines() {
  while (g_exitRoutineCount > 0) g_exitRoutines[--g_exitRoutineCount]();
}

}  // namespace

extern "C" {

// Module-local: the process's atexit would run these after the library is gone.
int atexit(ExitRoutine routine) {
  if (g_exitRoutineCount == kExitRoutines) return -1;
  g_exitRoutines[g_exitRoutineCount++] = routine;
  return 0;
}

// Marks that the module uses floating point; the C runtime's start-up would define it.
int _fltused = 0;

int __stdcall StatlumeLibraryEntry(void*, unsigned long reason, void*) {
  if (reason == kProcessAttach) RunInitializers();
  if (reason == kProcessDetach) RunExitRoutines();
  return 1;
}

}  // extern "C"

// Stack probe for frames larger than a page: touches each page from the stack
// pointer down by rax bytes, so that the guard page grows the stack in order.
// Leaves rsp unchanged; the caller subtracts rax itself.
__asm__(
    ".globl __chkstk\n"
    "__chkstk:\n"
    "  pushq %rcx\n"
    "  pushq %rax\n"
    "  leaq 24(%rsp), %rcx\n"
    "  cmpq $0x1000, %rax\n"
    "  jb 2f\n"
    "1:\n"
    "  subq $0x1000, %rcx\n"
    "  orq $0, (%rcx)\n"
    "  subq $0x1000, %rax\n"
    "  cmpq $0x1000, %rax\n"
    "  ja 1b\n"
    "2:\n"
    "  subq %rax, %rcx\n"
    "  orq $0, (%rcx)\n"
    "  popq %rax\n"
    "  popq %rcx\n"
    "  ret\n");
