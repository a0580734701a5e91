// The message formatter now lives in core/; this name stays for the zip reader's sources
// until they include core/TextFormat.h themselves.
#pragma once

#include "core/TextFormat.h"
