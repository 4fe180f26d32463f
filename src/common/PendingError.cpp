#include "common/PendingError.h"

namespace core {

namespace {
// One slot per thread: a worker's failure stays its own until it hands the text over, and never
// overwrites or clears what the window thread has pending.
PendingErrorState& Slot()
{
    thread_local PendingErrorState slot;
    return slot;
}
} // namespace

void SetPendingError(std::string_view text)
{
    Slot().text = std::string(text);
    Slot().detail.clear();
    Slot().pending = 1;
}

void SetPendingErrorDetail(std::string_view detail)
{
    Slot().detail = std::string(detail);
}

void ClearPendingError()
{
    Slot().text.clear();
    Slot().detail.clear();
    Slot().pending = 0;
}

const PendingErrorState& PendingError()
{
    return Slot();
}

std::string PendingErrorOrUnknown()
{
    return Slot().pending != 0 ? Slot().text : std::string("Unknown Error!");
}

ScopedPendingError::ScopedPendingError()
    : m_saved(Slot())
{
    ClearPendingError();
}

ScopedPendingError::~ScopedPendingError()
{
    Slot() = std::move(m_saved);
}

} // namespace core
