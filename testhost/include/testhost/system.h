#pragma once
// What the test host needs of the operating system to load a plug-in library:
// one implementation per platform (src/platform/).
#include <string>

namespace testhost::system {

// Loads a library; null with `error` set when the loader refuses.
void* OpenLibrary(const std::string& file, std::string& error);
void* LibrarySymbol(void* library, const char* name);
// Unloads a library; false when the loader reports a failure.
bool CloseLibrary(void* library);
// Whether the library at `file` is still mapped into the process.
bool LibraryStillLoaded(const std::string& file);
// Makes a new, empty folder for temporary files and answers its path; throws
// std::runtime_error naming the temporary folder when it cannot.
std::string MakeTemporaryFolder(const std::string& prefix);

// Why `file` cannot be a plug-in library (not a library for this machine, cut
// short, exporting no plugin_main), read from the file without loading it; empty
// when the loader may try it.
std::string LibraryFileProblem(const std::string& file);

// Temporary files and folders that go even when the process ends on a signal
// before it could remove them: a handler calls RemoveTrackedTemporaries, which is
// safe there and removes the latest tracked first. A few at a time.
void TrackTemporary(const std::string& path);
void UntrackTemporary(const std::string& path);
void RemoveTrackedTemporaries();

}  // namespace testhost::system
