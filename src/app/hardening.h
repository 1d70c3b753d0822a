#pragma once

#include "platform/process_hardening.h"

// The desktop program's name for the platform's process hardening.
namespace hardening {

using platform::DisableCoreDumpsAndDebugging;

}  // namespace hardening
