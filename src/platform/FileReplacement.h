#pragma once

#include <string>

// A file written in full under a temporary name in the target's folder takes the target's place in one
// step, so a reader sees either the old file or the new one.
namespace platform {

// Gives the new file (open as fd) the permissions of the file at `target`, or the usual ones of a new
// file when there is none. Nothing to do on Windows: the replacement itself keeps the attributes.
void TakePermissionsOf(int fd, const std::string& target);

// Puts `replacement` in the place of `target`, keeping the attributes `target` has; false leaves
// `target` as it was and `replacement` where it is. On Windows the renaming is written through to
// the disk before the call returns.
[[nodiscard]] bool ReplaceWith(const std::string& target, const std::string& replacement);

} // namespace platform
