#pragma once

// Implementation details of the Windows platform layer only: what
// CommandEnvironment makes and runCommand hands to CreateProcessW.

#include <string>
#include <vector>

#include "platform/CommandEnvironment.h"

struct platform::CommandEnvironment::Prepared {
  // "NAME=value" strings, each ended by a zero, sorted by name without regard
  // to case, and one more zero: an environment block of wide characters.
  std::wstring block;
};
