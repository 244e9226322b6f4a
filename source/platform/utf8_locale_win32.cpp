#include "platform/utf8_locale.h"

namespace platform {

Utf8Locale::Utf8Locale() = default;
Utf8Locale::~Utf8Locale() = default;

}  // namespace platform
