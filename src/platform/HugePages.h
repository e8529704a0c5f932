#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quillet {

// A large fresh buffer is faulted in one 4 KB page at a time, which costs as
// much as filling it; transparent huge pages (where the system grants them on
// request) take 2 MB per fault. Only whole aligned huge pages inside the
// buffer are asked for; call it before anything is written there.
inline void AskForHugePages(void* data, std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (size < 4 * kHuge) {
        return;
    }
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kHuge - 1);
    if (end > begin) {
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)size;
#endif
}

} // namespace quillet
