#pragma once

#include "cli/CommandSteps.h"

#include <optional>
#include <ostream>

namespace cli {

struct CliOptions;

// corvane-cli edit: reads IN, applies --dedupe, --sort and --order-like in the order given (each
// through the core's edits), prints a line per operation saying what changed, and writes OUT.
// What a damaged flash image left out is reported on err.
std::optional<StepError> Edit(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace cli
