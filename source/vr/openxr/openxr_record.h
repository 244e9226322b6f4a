#pragma once

#include <openxr/openxr.h>

// An OpenXR record with its type set and every other field zero, as the
// runtime expects records it is handed or fills.
template <typename Record>
Record xrRecord(XrStructureType type) {
    Record record{};
    record.type = type;
    return record;
}
