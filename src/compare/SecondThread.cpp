#include "compare/SecondThread.h"

#include <atomic>
#include <thread>

namespace quillet {

namespace {

std::atomic<bool>& Allowed()
{
    static std::atomic<bool> allowed{std::thread::hardware_concurrency() > 1};
    return allowed;
}

} // namespace

bool SecondThreadAllowed()
{
    return Allowed().load(std::memory_order_relaxed);
}

void AllowSecondThread(bool allowed)
{
    Allowed().store(allowed, std::memory_order_relaxed);
}

} // namespace quillet
