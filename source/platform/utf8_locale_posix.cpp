#include "platform/utf8_locale.h"

#include <locale.h>

namespace platform {

Utf8Locale::Utf8Locale() : utf8(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
    if (utf8) previous = uselocale(static_cast<locale_t>(utf8));
}

Utf8Locale::~Utf8Locale() {
    if (!utf8) return;
    uselocale(static_cast<locale_t>(previous));
    freelocale(static_cast<locale_t>(utf8));
}

}  // namespace platform
