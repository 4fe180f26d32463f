#pragma once

#include "common/PendingError.h"

#include <new>
#include <stdexcept>

namespace core {

// The message of a command that ran out of memory.
inline constexpr const char* kOutOfMemory = "Out of memory!";

// Runs one import, export or merge. Running out of memory anywhere inside it fails it with
// "Out of memory!" pending instead of ending the program; what the step had built is released on the
// way out, and the files it writes are replaced only at its end, so they stay as they were. A size
// beyond what a container can hold counts as the same shortage.
template <class Step>
[[nodiscard]] bool FailOnOutOfMemory(Step&& step)
{
    try {
        return step();
    } catch (const std::bad_alloc&) {
        SetPendingError(kOutOfMemory); // short enough for the string's own buffer: no allocation
    } catch (const std::length_error&) {
        SetPendingError(kOutOfMemory);
    }
    return false;
}

} // namespace core
