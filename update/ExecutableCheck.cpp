#include "update/ExecutableCheck.h"

#include <QFile>

#include <elf.h>

#include <cstring>
#include <type_traits>

namespace {

using Header = std::conditional_t<sizeof(void*) == 8, Elf64_Ehdr, Elf32_Ehdr>;
using ProgramHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Phdr, Elf32_Phdr>;
constexpr unsigned char ThisClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char ThisByteOrder = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? ELFDATA2LSB : ELFDATA2MSB;

// The machine this program was built for, as ELF names it; 0 where the build does not say, and
// then the updater's own executable tells.
constexpr quint16 builtMachine()
{
#if defined(__x86_64__)
    return EM_X86_64;
#elif defined(__i386__)
    return EM_386;
#elif defined(__aarch64__)
    return EM_AARCH64;
#elif defined(__arm__)
    return EM_ARM;
#elif defined(__riscv)
    return EM_RISCV;
#elif defined(__powerpc64__)
    return EM_PPC64;
#elif defined(__s390x__)
    return EM_S390;
#elif defined(__loongarch__)
    return 258; // EM_LOONGARCH
#else
    return 0;
#endif
}

quint16 thisMachine()
{
    static const quint16 machine = [] {
        if (builtMachine())
            return builtMachine();
        QFile self(QStringLiteral("/proc/self/exe"));
        Header header{};
        if (self.open(QIODevice::ReadOnly) &&
            self.read(reinterpret_cast<char*>(&header), sizeof header) == sizeof header)
            return quint16(header.e_machine);
        return quint16(0);
    }();
    return machine;
}

// Whether a table of count entries of entrySize bytes at offset lies inside size bytes.
bool inside(quint64 offset, quint64 count, quint64 entrySize, quint64 size)
{
    return offset <= size && count * entrySize <= size - offset;
}

} // namespace

namespace ExecutableCheck {

Finding check(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Verdict::Unreadable, file.errorString()};
    const quint64 size = quint64(file.size());
    Header header{};
    if (file.read(reinterpret_cast<char*>(&header), sizeof header) != qint64(sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return Finding{Verdict::Foreign, QStringLiteral("not an ELF file")};
    if (header.e_ident[EI_CLASS] != ThisClass || header.e_ident[EI_DATA] != ThisByteOrder)
        return Finding{Verdict::Foreign,
                       QStringLiteral("ELF class %1, byte order %2; this computer needs class %3, byte order %4")
                           .arg(header.e_ident[EI_CLASS])
                           .arg(header.e_ident[EI_DATA])
                           .arg(ThisClass)
                           .arg(ThisByteOrder)};
    if (header.e_machine != thisMachine())
        return Finding{
            Verdict::Foreign,
            QStringLiteral("ELF machine %1; this computer needs machine %2").arg(header.e_machine).arg(thisMachine())};
    if (header.e_type != ET_EXEC && header.e_type != ET_DYN)
        return Finding{Verdict::Foreign, QStringLiteral("ELF type %1 is not an executable").arg(header.e_type)};

    // Every table and every loaded segment must lie inside the file; a file cut short does not
    // hold them all.
    if ((header.e_phnum && header.e_phentsize != sizeof(ProgramHeader)) ||
        !inside(header.e_phoff, header.e_phnum, header.e_phentsize, size) ||
        !inside(header.e_shoff, header.e_shnum, header.e_shentsize, size))
        return {Verdict::CutShort, QStringLiteral("ELF tables end beyond the file's %1 bytes").arg(size)};
    for (int i = 0; i < header.e_phnum; ++i) {
        ProgramHeader segment{};
        if (!file.seek(qint64(header.e_phoff + quint64(i) * sizeof segment)) ||
            file.read(reinterpret_cast<char*>(&segment), sizeof segment) != qint64(sizeof segment))
            return {Verdict::CutShort, file.errorString()};
        if (!inside(segment.p_offset, 1, segment.p_filesz, size))
            return {Verdict::CutShort,
                    QStringLiteral("ELF segment %1 ends beyond the file's %2 bytes").arg(i).arg(size)};
    }
    return {};
}

} // namespace ExecutableCheck
