#pragma once

#include <string>
#include <string_view>

namespace core {

// The error slot of the editor. Importers, exporters and the workbook layer leave their reason
// here when they fail; the command that called them shows it and clears it. Each thread has a
// slot of its own: the window thread's is the program's, a worker's is read by the worker.
struct PendingErrorState
{
    std::string text;
    std::string detail; // the underlying reason, when the failing layer knows one (may be empty)
    int pending = 0;
};

// Stores text and marks it pending; a later call overwrites an earlier text.
void SetPendingError(std::string_view text);
// Adds the underlying reason to a pending text (SetPendingError empties it).
void SetPendingErrorDetail(std::string_view detail);
// Empties the text and clears the flag.
void ClearPendingError();
// The current slot.
const PendingErrorState& PendingError();
// The pending text, or "Unknown Error!" when nothing is pending (the text every failure box shows).
std::string PendingErrorOrUnknown();

// Starts a scope with an empty slot and puts the slot back as it was at the scope's end, so that
// nothing a test or a nested command leaves pending leaks into the next one.
class ScopedPendingError
{
public:
    ScopedPendingError();
    ~ScopedPendingError();
    ScopedPendingError(const ScopedPendingError&) = delete;
    ScopedPendingError& operator=(const ScopedPendingError&) = delete;

private:
    PendingErrorState m_saved;
};

} // namespace core
