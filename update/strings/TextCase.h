// The case rules of the 8-bit texts now live in core/; this name stays for the zip
// reader's sources until they include core/TextCase.h themselves.
#pragma once

#include "core/TextCase.h"
