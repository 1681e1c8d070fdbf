#pragma once
// Where this build finds the entries of the host's sub-tables.
//
// The code names every entry by its byte offset in a table of 8-byte entries: the
// layout of the Windows host, which the Linux test host lays out the same way. The
// macOS host stores many entries as 16-byte member pointers (function and
// adjustment), with the order of the entries unchanged; which entries those are is
// not known to this build, so there it knows the place of no entry, calls none,
// and the plug-in refuses to start (see the start and message handlers).
#include <stddef.h>
#include <stdint.h>

enum class HostTableLayout : uint8_t {
  kEightByteEntries,  // entry n at byte 8 n
  kUnknown,           // no entry's place is known: none is called
};

// This build's layout, chosen per platform in host_table_layout.cpp. A Linux build
// compiled with STATLUME_HOST_TABLE_LAYOUT_UNKNOWN plays the macOS case.
extern const HostTableLayout kHostTableLayout;

inline bool HostTableLayoutKnown() { return kHostTableLayout == HostTableLayout::kEightByteEntries; }

// The console line with which a plug-in that cannot reach its host refuses to start.
inline constexpr char kUnknownLayoutLine[] =
    "Statlume: this library does not know where the host's table entries lie on this platform; "
    "Statlume does not start.";
