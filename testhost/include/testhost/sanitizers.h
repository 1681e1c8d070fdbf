#pragma once
// Whether this build runs under the address sanitizer, whichever compiler made it:
// it holds freed memory back in quarantine, and poisons what the host guards. And
// whether it runs under the thread sanitizer; both reserve far more address space
// than a process could limit itself to. A test driver compiled without the
// sanitizers for an instrumented build is told so by the build
// (STATLUME_ADDRESS_SANITIZER defined on its command line).
#if defined(STATLUME_ADDRESS_SANITIZER)
#elif defined(__SANITIZE_ADDRESS__)
#define STATLUME_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STATLUME_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define STATLUME_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define STATLUME_THREAD_SANITIZER 1
#endif
#endif

namespace testhost {
#if defined(STATLUME_ADDRESS_SANITIZER)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#if defined(STATLUME_THREAD_SANITIZER)
inline constexpr bool kThreadSanitizer = true;
#else
inline constexpr bool kThreadSanitizer = false;
#endif
}  // namespace testhost
