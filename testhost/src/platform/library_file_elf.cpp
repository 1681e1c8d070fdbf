// A library file read as the loader will map it, without loading it. The loader
// maps a file that is cut short all the same, and the first touch of a page past
// its end ends the process with a bus error; another library runs its own
// initialisers when loaded. Both are refused here, with the reason.
#include <elf.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "testhost/system.h"

namespace testhost::system {

namespace {

#if defined(__x86_64__)
constexpr std::uint16_t kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr std::uint16_t kMachine = EM_AARCH64;
#else
constexpr std::uint16_t kMachine = EM_NONE;  // any
#endif

// The file's bytes, read where asked; every range is checked against its size.
class FileBytes {
 public:
  explicit FileBytes(const std::string& file) : in_(file, std::ios::binary | std::ios::ate) {
    if (in_) size_ = static_cast<std::uint64_t>(in_.tellg());
  }
  bool Opened() const { return static_cast<bool>(in_); }
  std::uint64_t Size() const { return size_; }
  bool Holds(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
  bool Read(std::uint64_t offset, void* to, std::uint64_t length) {
    if (!Holds(offset, length)) return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(in_.read(static_cast<char*>(to), static_cast<std::streamsize>(length)));
  }
  template <typename T>
  bool Read(std::uint64_t offset, T& value) {
    return Read(offset, &value, sizeof(T));
  }

 private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

// The end of a range of `count` records of `size` bytes, saturated.
std::uint64_t End(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
  const std::uint64_t length = size != 0 && count > UINT64_MAX / size ? UINT64_MAX : count * size;
  return offset > UINT64_MAX - length ? UINT64_MAX : offset + length;
}

std::string CutShort(std::uint64_t size, std::uint64_t reach) {
  return "the file is cut short: it has " + std::to_string(size) + " bytes, its contents reach to byte " +
         std::to_string(reach);
}

// How far the mapped segments and the tables read below reach into the file.
std::uint64_t Reach(FileBytes& bytes, const Elf64_Ehdr& header) {
  std::uint64_t reach = std::max<std::uint64_t>(sizeof header, End(header.e_phoff, header.e_phnum, sizeof(Elf64_Phdr)));
  for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment{};
    if (!bytes.Read(header.e_phoff + i * sizeof segment, segment)) break;
    if (segment.p_type == PT_LOAD) reach = std::max(reach, End(segment.p_offset, 1, segment.p_filesz));
  }
  if (header.e_shoff != 0) reach = std::max(reach, End(header.e_shoff, header.e_shnum, sizeof(Elf64_Shdr)));
  return reach;
}

// Whether the dynamic symbol table defines `name`: 1 yes, 0 no, -1 when the file
// keeps no section table to tell (the loader decides then).
int Exports(FileBytes& bytes, const Elf64_Ehdr& header, const char* name) {
  if (header.e_shoff == 0 || header.e_shnum == 0) return -1;
  const std::size_t length = std::strlen(name);
  for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr symbols{}, strings{};
    if (!bytes.Read(header.e_shoff + i * sizeof symbols, symbols) || symbols.sh_type != SHT_DYNSYM) continue;
    if (symbols.sh_link >= header.e_shnum || !bytes.Read(header.e_shoff + symbols.sh_link * sizeof strings, strings))
      return 0;
    for (std::uint64_t at = 0; at + sizeof(Elf64_Sym) <= symbols.sh_size; at += sizeof(Elf64_Sym)) {
      Elf64_Sym symbol{};
      if (!bytes.Read(symbols.sh_offset + at, symbol)) return 0;
      if (symbol.st_shndx == SHN_UNDEF || symbol.st_name >= strings.sh_size) continue;
      char text[64] = {};
      const std::uint64_t room = std::min<std::uint64_t>(sizeof text - 1, strings.sh_size - symbol.st_name);
      if (room < length + 1 || !bytes.Read(strings.sh_offset + symbol.st_name, text, length + 1)) continue;
      if (std::memcmp(text, name, length + 1) == 0) return 1;
    }
    return 0;
  }
  return 0;
}

}  // namespace

std::string LibraryFileProblem(const std::string& file) {
  FileBytes bytes(file);
  if (!bytes.Opened()) return std::string("cannot be read: ") + std::strerror(errno);
  unsigned char ident[EI_NIDENT] = {};
  if (!bytes.Read(0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
    return "not a library: the file has no ELF header";
  if (ident[EI_CLASS] != ELFCLASS64) return "not a library for this machine: a 32-bit ELF file";
  Elf64_Ehdr header{};
  if (!bytes.Read(0, header)) return CutShort(bytes.Size(), sizeof header);
  if (kMachine != EM_NONE && header.e_machine != kMachine)
    return "not a library for this machine: built for ELF machine " + std::to_string(header.e_machine);
  if (header.e_type != ET_DYN) return "not a library: an ELF executable or object file";
  if (header.e_phentsize != sizeof(Elf64_Phdr) || (header.e_shoff != 0 && header.e_shentsize != sizeof(Elf64_Shdr)))
    return "not a library: its ELF header is damaged";
  const std::uint64_t reach = Reach(bytes, header);
  if (reach > bytes.Size()) return CutShort(bytes.Size(), reach);
  if (Exports(bytes, header, "plugin_main") == 0) return "the plug-in exports no plugin_main";
  return "";
}

}  // namespace testhost::system
