#pragma once

#include "boottool/Console.h"
#include "boottool/UnitProgress.h"
#include "boottool/tftp/TransferWatch.h"

#include <optional>

namespace boottool {

// Shows a network download as serialdown shows its data: a start line, the unit progress and the total,
// so the front-end's progress bar follows it too.
class ProgressPrinter : public TransferWatch
{
public:
    explicit ProgressPrinter(Console& console);

    void Started(const std::string& file, std::uint64_t size) override;
    void Acknowledged(std::uint64_t bytes) override;
    void Finished(std::uint64_t bytes) override;
    // Ends the progress line first, so the message stands on a line of its own.
    void BeforeMessage() override;

private:
    Console& m_console;
    std::optional<UnitProgress> m_progress;
    bool m_lineOpen = false; // progress has been shown since the last line break
};

} // namespace boottool
