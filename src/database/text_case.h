#pragma once

#include "platform/text_case.h"

// The letter case of user data is the platform's (platform/text_case.h).
namespace database {

using platform::EqualsIgnoringCase;
using platform::LowerText;

}  // namespace database
