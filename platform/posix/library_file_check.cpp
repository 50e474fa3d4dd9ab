#include "platform/posix/library_file_check.hpp"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

namespace platform {

namespace {

using Header = ElfW(Ehdr);
using Segment = ElfW(Phdr);
using Dynamic = ElfW(Dyn);

constexpr unsigned char kOwnClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kOwnByteOrder = ELFDATA2LSB;
#else
constexpr unsigned char kOwnByteOrder = ELFDATA2MSB;
#endif

// Reads exactly COUNT bytes at OFFSET, or fails.
bool ReadAt(int fd, void* into, std::size_t count, off_t offset) {
    auto* bytes = static_cast<char*>(into);
    while (count > 0) {
        const ssize_t got = pread(fd, bytes, count, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        count -= static_cast<std::size_t>(got);
        offset += got;
    }
    return true;
}

// The machine this program was built for, from its own header.
std::optional<ElfW(Half)> OwnMachine() {
    static const std::optional<ElfW(Half)> machine = []() -> std::optional<ElfW(Half)> {
        const int fd = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        Header own{};
        const bool read = ReadAt(fd, &own, sizeof own, 0);
        close(fd);
        if (!read) return std::nullopt;
        return own.e_machine;
    }();
    return machine;
}

std::string Bits(unsigned char elfClass) { return elfClass == ELFCLASS64 ? "64-bit" : "32-bit"; }

// What the file's own headers say against loading it.
std::string CheckHeaders(int fd, std::uint64_t size) {
    unsigned char ident[EI_NIDENT] = {};
    if (size < sizeof ident || !ReadAt(fd, ident, sizeof ident, 0))
        return "too short to be a shared library (" + std::to_string(size) + " bytes)";
    if (ident[0] == 'M' && ident[1] == 'Z')
        return "a Windows library (the board maker's driver is one), not a Linux shared library";
    if (std::memcmp(ident, ELFMAG, SELFMAG) != 0) return "not a shared library: it does not start as an ELF file";
    if (ident[EI_CLASS] != kOwnClass)
        return "built for " + Bits(ident[EI_CLASS]) + " programs; this panel is a " + Bits(kOwnClass) + " program";
    if (ident[EI_DATA] != kOwnByteOrder) return "built for a machine of the other byte order";

    Header header{};
    if (size < sizeof header || !ReadAt(fd, &header, sizeof header, 0))
        return "truncated: too short for its ELF header (" + std::to_string(size) + " bytes)";
    if (header.e_version != EV_CURRENT) return "an ELF file of an unknown version";
    if (const std::optional<ElfW(Half)> own = OwnMachine(); own && header.e_machine != *own)
        return "built for another machine (ELF machine " + std::to_string(header.e_machine) +
               ", this one is " + std::to_string(*own) + ")";
    if (header.e_type != ET_DYN) return "not a shared library (a program or an object file)";
    if (header.e_phentsize != sizeof(Segment) || header.e_phnum == 0)
        return "damaged: its program headers are missing or of the wrong size";
    const std::uint64_t headersEnd = header.e_phoff + std::uint64_t{header.e_phnum} * sizeof(Segment);
    if (header.e_phoff > size || headersEnd > size)
        return "truncated: its program headers end past the file's " + std::to_string(size) + " bytes";

    std::vector<Segment> segments(header.e_phnum);
    if (!ReadAt(fd, segments.data(), segments.size() * sizeof(Segment), static_cast<off_t>(header.e_phoff)))
        return "unreadable program headers";
    const Segment* dynamic = nullptr;
    std::uint64_t needed = 0;
    for (const Segment& segment : segments) {
        if (segment.p_type == PT_LOAD || segment.p_type == PT_DYNAMIC) {
            if (segment.p_offset > size || segment.p_filesz > size - segment.p_offset)
                needed = std::max<std::uint64_t>(needed, segment.p_offset + segment.p_filesz);
        }
        if (segment.p_type == PT_DYNAMIC) dynamic = &segment;
    }
    if (needed > size)
        return "truncated: " + std::to_string(size) + " bytes of the " + std::to_string(needed) +
               " its segments need";
    if (dynamic == nullptr) return "not a shared library: it has no dynamic section";

    // A position-independent program is ELF type "shared" too.
    std::vector<Dynamic> entries(dynamic->p_filesz / sizeof(Dynamic));
    if (!ReadAt(fd, entries.data(), entries.size() * sizeof(Dynamic), static_cast<off_t>(dynamic->p_offset)))
        return "unreadable dynamic section";
    for (const Dynamic& entry : entries) {
        if (entry.d_tag == DT_NULL) break;
        if (entry.d_tag == DT_FLAGS_1 && (entry.d_un.d_val & DF_1_PIE) != 0)
            return "a program, not a shared library";
    }
    return {};
}

}  // namespace

std::string WhyNotALoadableLibrary(const std::string& path) {
    // Without blocking: a named pipe would otherwise wait for a writer for ever.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::string("cannot be opened: ") + std::strerror(errno);
    struct stat info {};
    std::string reason;
    if (fstat(fd, &info) != 0)
        reason = std::string("cannot be examined: ") + std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        reason = S_ISDIR(info.st_mode) ? "not a regular file but a folder" : "not a regular file";
    else
        reason = CheckHeaders(fd, static_cast<std::uint64_t>(info.st_size));
    close(fd);
    return reason;
}

}  // namespace platform
