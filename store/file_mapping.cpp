#include "file_mapping.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a mapping's slot holds, each slot claimed and given up through its state alone, so that
// the thread that keeps copies can look at them while others map and unmap.
enum State : int { Free, Claimed, Mapped, Copying, Copied };

struct Slot {
    std::atomic<int> state{Free};
    std::atomic<int> fd{-1}; // the descriptor that holds the lease
    char* data = nullptr; // the mapping, whole pages
    std::size_t length = 0;
};

constexpr int SlotCount = 16;
std::array<Slot, SlotCount> slots;

// The signal handler's one byte for each lease break wakes the thread that keeps copies.
int wake_pipe[2] = {-1, -1};

std::size_t whole_pages(std::size_t size) {
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

// Puts a private copy of the bytes where the mapping stands, then lets a waiting writer go on.
// Readers of the mapping meanwhile see the file's bytes until the copy replaces them at once.
void keep_copy(Slot& slot) {
    int mapped = Mapped;
    if (!slot.state.compare_exchange_strong(mapped, Copying)) return;
    void* copy = ::mmap(nullptr, slot.length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                        -1, 0);
    if (copy != MAP_FAILED) {
        std::memcpy(copy, slot.data, slot.length);
        ::mprotect(copy, slot.length, PROT_READ);
        if (::mremap(copy, slot.length, slot.length, MREMAP_MAYMOVE | MREMAP_FIXED, slot.data) ==
            MAP_FAILED)
            ::munmap(copy, slot.length);
    } else {
        // No memory for a copy: blank pages, read as NULs, still beat a crash.
        ::mmap(slot.data, slot.length, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    }
    ::fcntl(slot.fd.load(), F_SETLEASE, F_UNLCK);
    slot.state.store(Copied);
}

// Another program wants to write a mapped file. A handler may safely do almost nothing: it
// only wakes the thread below.
void on_lease_break(int, siginfo_t*, void*) {
    const int saved_errno = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up that has not been read.
    [[maybe_unused]] const ssize_t written = ::write(wake_pipe[1], &byte, 1);
    errno = saved_errno;
}

// Copies each mapping whose lease is being broken (the kernel then reports the lease it will
// become), before the writer's wait runs out.
void keep_copies() {
    char bytes[64];
    for (;;) {
        const ssize_t n = ::read(wake_pipe[0], bytes, sizeof bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        for (Slot& slot : slots) {
            const int fd = slot.fd.load();
            if (slot.state.load() == Mapped && fd >= 0 && ::fcntl(fd, F_GETLEASE) != F_RDLCK)
                keep_copy(slot);
        }
    }
}

int lease_signal() {
    static const int signal = [] {
        if (::pipe2(wake_pipe, O_CLOEXEC) != 0) return 0;
        // The handler must never wait on a full pipe.
        ::fcntl(wake_pipe[1], F_SETFL, O_NONBLOCK);
        try {
            std::thread(keep_copies).detach();
        } catch (const std::system_error&) {
            return 0;
        }
        const int chosen = SIGRTMIN + 5;
        struct sigaction action {};
        action.sa_sigaction = on_lease_break;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        return ::sigaction(chosen, &action, nullptr) == 0 ? chosen : 0;
    }();
    return signal;
}

int claim_slot() {
    for (int k = 0; k < SlotCount; ++k) {
        int free = Free;
        if (slots[std::size_t(k)].state.compare_exchange_strong(free, Claimed)) return k;
    }
    return -1;
}

} // namespace

std::shared_ptr<const FileMapping> FileMapping::map(int fd) {
    const int signal = lease_signal();
    if (signal == 0) return nullptr;
    const int slot_index = claim_slot();
    if (slot_index < 0) return nullptr;
    Slot& slot = slots[std::size_t(slot_index)];
    const auto give_up = [&]() -> std::shared_ptr<const FileMapping> {
        if (slot.fd.load() >= 0) ::close(slot.fd.exchange(-1));
        slot.state.store(Free);
        return nullptr;
    };

    // A descriptor of its own, so that the lease lasts as long as the mapping.
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0) return give_up();
    slot.fd.store(own);
    if (::fcntl(own, F_SETSIG, signal) != 0 || ::fcntl(own, F_SETLEASE, F_RDLCK) != 0)
        return give_up();
    // From here on nobody can write the file; its size now is the size it keeps.
    struct stat status {};
    if (::fstat(own, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0)
        return give_up();
    const std::size_t size = std::size_t(status.st_size);
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, own, 0);
    if (data == MAP_FAILED) return give_up();
    slot.data = static_cast<char*>(data);
    slot.length = whole_pages(size);
    slot.state.store(Mapped);
    // A writer that came while the file was being mapped found a slot the keeper passed over.
    if (::fcntl(own, F_GETLEASE) != F_RDLCK) keep_copy(slot);
    return std::shared_ptr<const FileMapping>(new FileMapping(slot.data, status, slot_index));
}

FileMapping::~FileMapping() {
    Slot& slot = slots[std::size_t(slot_)];
    // A copy that has begun is finished first.
    for (int state = slot.state.load();; state = slot.state.load()) {
        if (state == Copying) {
            std::this_thread::yield();
            continue;
        }
        if (slot.state.compare_exchange_strong(state, Claimed)) break;
    }
    ::munmap(slot.data, slot.length);
    ::close(slot.fd.exchange(-1)); // lets go of the lease, if it is still held
    slot.data = nullptr;
    slot.length = 0;
    slot.state.store(Free);
}
