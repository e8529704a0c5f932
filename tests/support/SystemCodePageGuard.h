#pragma once

#include "core/CodePages.h"

namespace quillet::test {

// Restores, when it goes, the system code page it found; the second form
// also switches to codePage for the test.
class TSystemCodePageGuard {
public:
    TSystemCodePageGuard()
        : m_saved(GetSystemCodePage())
    {
    }
    explicit TSystemCodePageGuard(int codePage)
        : TSystemCodePageGuard()
    {
        SetSystemCodePage(codePage);
    }
    ~TSystemCodePageGuard() { SetSystemCodePage(m_saved); }
    TSystemCodePageGuard(const TSystemCodePageGuard&) = delete;
    TSystemCodePageGuard& operator=(const TSystemCodePageGuard&) = delete;

private:
    int m_saved;
};

} // namespace quillet::test
