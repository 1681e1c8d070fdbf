#include "symbol_table.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace validate {

namespace {

// A structure read from the file's bytes; false when it would reach past their end
// (a truncated or hostile file).
template <typename T>
bool ReadStruct(const std::vector<char>& bytes, std::uint64_t offset, T& value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

}  // namespace

std::map<std::string, std::uint64_t> FunctionSymbols(const std::string& file, const std::set<std::string>& names) {
  std::map<std::string, std::uint64_t> found;
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Elf64_Ehdr header{};
  if (!ReadStruct(bytes, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr))
    return found;
  for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr symbols{}, strings{};
    if (!ReadStruct(bytes, header.e_shoff + i * sizeof(Elf64_Shdr), symbols) || symbols.sh_type != SHT_SYMTAB ||
        !ReadStruct(bytes, header.e_shoff + std::uint64_t{symbols.sh_link} * sizeof(Elf64_Shdr), strings) ||
        strings.sh_offset > bytes.size() || bytes.size() - strings.sh_offset < strings.sh_size)
      continue;
    for (std::uint64_t k = 0; k < symbols.sh_size / sizeof(Elf64_Sym); ++k) {
      Elf64_Sym symbol{};
      if (!ReadStruct(bytes, symbols.sh_offset + k * sizeof(Elf64_Sym), symbol) ||
          ELF64_ST_TYPE(symbol.st_info) != STT_FUNC || symbol.st_name >= strings.sh_size)
        continue;
      const char* text = bytes.data() + strings.sh_offset + symbol.st_name;
      const std::string name(text, strnlen(text, strings.sh_size - symbol.st_name));
      if (names.count(name) != 0) found[name] = symbol.st_value;
    }
  }
  return found;
}

}  // namespace validate
