#pragma once

#include <openxr/openxr.h>

// OpenXR's names for its values ("XR_ERROR_RUNTIME_UNAVAILABLE"), known
// without an instance, which xrResultToString needs.
const char* resultName(XrResult result);
const char* sessionStateName(XrSessionState state);
