#include "platform/strftime_conversions.h"

namespace platform {

// C89's, as msvcrt.dll has them; no modifiers.
StrftimeConversions strftimeConversions() { return {"aAbBcdHIjmMpSUwWxXyYzZ%", "", ""}; }

}  // namespace platform
