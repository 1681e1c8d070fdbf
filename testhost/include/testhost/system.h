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
// Makes a new, empty folder for temporary files and answers its path.
std::string MakeTemporaryFolder(const std::string& prefix);

}  // namespace testhost::system
