#pragma once
// The symbol table of a 64-bit ELF library file: the full table that linkers keep
// and `strip` removes, not the dynamic one that lists only the exports. It names
// code that no export reaches.
#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace validate {

// The values (addresses relative to the library's load address) of those of the
// named function symbols the file's symbol table holds; empty for a file that is
// no 64-bit ELF file or carries no symbol table.
std::map<std::string, std::uint64_t> FunctionSymbols(const std::string& file, const std::set<std::string>& names);

}  // namespace validate
