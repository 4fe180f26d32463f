#pragma once

#include "edit/IEdit.h"

#include <memory>

namespace core {

// Removes every program DuplicateProgramMask marks, as one edit (nothing to remove changes
// nothing). Named "Remove 12 Duplicate Programs", "Remove Duplicate Program".
std::unique_ptr<IEdit> RemoveDuplicatePrograms();

} // namespace core
