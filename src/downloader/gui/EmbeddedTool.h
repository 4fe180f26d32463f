#pragma once

#include "downloader/core/ToolFile.h"

// The download tool built into this program.
ToolResource EmbeddedToolResource();
