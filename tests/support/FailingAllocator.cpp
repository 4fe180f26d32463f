#include "support/FailingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocationsBeforeFailure{-1};
std::atomic<long> g_allocations{0};
} // namespace

namespace testsupport {

void FailAllocationAfter(long count)
{
    g_allocationsBeforeFailure = count;
}

bool EndAllocationFailure()
{
    return g_allocationsBeforeFailure.exchange(-1) == -1;
}

long AllocationCount()
{
    return g_allocations.load();
}

} // namespace testsupport

void* operator new(std::size_t size)
{
    ++g_allocations;
    const long left = g_allocationsBeforeFailure.load();
    if (left == 0) {
        g_allocationsBeforeFailure = -1;
        throw std::bad_alloc();
    }
    if (left > 0) {
        g_allocationsBeforeFailure = left - 1;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

// The replaced operator new allocates with malloc, so free is the matching release here; GCC,
// seeing both inlined, takes them for the pair new/free.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop
