#include "vr/openxr/openxr_names.h"

#include <openxr/openxr_reflection.h>

#define NAME_OF_VALUE(name, value) \
    case name:                     \
        return #name;

const char* resultName(XrResult result) {
    switch (result) { XR_LIST_ENUM_XrResult(NAME_OF_VALUE) default : return "XR_UNKNOWN_RESULT"; }
}

const char* sessionStateName(XrSessionState state) {
    switch (state) {
        XR_LIST_ENUM_XrSessionState(NAME_OF_VALUE) default : return "XR_SESSION_STATE_UNKNOWN";
    }
}
