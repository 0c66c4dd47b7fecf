#include "build_identity.h"

#include "file_identity.h"

#include <QCoreApplication>

#include <cstring>

#include <elf.h>
#include <link.h>

namespace {

// The GNU build ID note of the program itself, in hex; empty when it has none.
QString linker_build_id() {
    QString id;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* found) {
            // The first object listed is the program.
            for (int h = 0; h < info->dlpi_phnum; ++h) {
                const ElfW(Phdr)& header = info->dlpi_phdr[h];
                if (header.p_type != PT_NOTE) continue;
                const auto* at = reinterpret_cast<const char*>(info->dlpi_addr + header.p_vaddr);
                const char* const end = at + header.p_memsz;
                while (at + sizeof(ElfW(Nhdr)) <= end) {
                    const auto* note = reinterpret_cast<const ElfW(Nhdr)*>(at);
                    const char* name = at + sizeof(ElfW(Nhdr));
                    const char* desc = name + ((note->n_namesz + 3) & ~3u);
                    if (note->n_type == NT_GNU_BUILD_ID && note->n_namesz == 4 &&
                        std::memcmp(name, "GNU", 4) == 0 && desc + note->n_descsz <= end) {
                        *static_cast<QString*>(found) = QString::fromLatin1(
                            QByteArray(desc, qsizetype(note->n_descsz)).toHex());
                        return 1;
                    }
                    at = desc + ((note->n_descsz + 3) & ~3u);
                }
            }
            return 1;
        },
        &id);
    return id;
}

} // namespace

QString build_identity() {
    QString id = linker_build_id();
    if (id.isEmpty()) {
        const FileIdentity program = identity_of_file("/proc/self/exe");
        id = QString::number(program.hash.high, 16) + QString::number(program.hash.low, 16);
    }
    return QCoreApplication::applicationVersion() + u' ' + id;
}
