#pragma once

// A test program that links this replaces the global operator new with one that can be told to
// fail: the allocation after the next n succeeds throws std::bad_alloc, as a real shortage would.

namespace testsupport {

// Arms the failure: the next `count` allocations succeed, the one after them throws.
void FailAllocationAfter(long count);

// Disarms the failure and says whether it was thrown since it was armed.
bool EndAllocationFailure();

// Every allocation made so far, to size a search over them.
long AllocationCount();

} // namespace testsupport
