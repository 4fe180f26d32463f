#pragma once

#include "downloader/core/ToolFile.h"

namespace downloader {

// The download tool built into this program.
ToolResource EmbeddedToolResource();

} // namespace downloader
