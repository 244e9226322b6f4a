#include "platform/strftime_conversions.h"

namespace platform {

// C99's, as glibc has them.
StrftimeConversions strftimeConversions() {
    return {"aAbBcCdDeFgGhHIjmMnprRStTuUVwWxXyYzZ%", "cCxXyY", "deHImMSuUVwWy"};
}

}  // namespace platform
