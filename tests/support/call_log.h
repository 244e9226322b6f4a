#pragma once

#include <string>
#include <vector>

#include "vr/openvr/openvr_api.h"

// The simulated runtime's "calls.log", one "pass N: Name(arguments) -> result"
// a line, read into its parts, so that tests ask about calls, not wording.
using Words = std::vector<std::string>;

struct RecordedCall {
    unsigned long pass = 0;
    std::string name;
    Words arguments;  // texts without their quotes
    Words result;     // "VREvent_MouseMove", "device 4294967295", ...
};

std::vector<RecordedCall> readCallLog(const std::string& recordFolder);

// Whether the call has that name and its arguments and result begin as given.
bool matches(const RecordedCall& call, const std::string& name, const Words& arguments = {},
             const Words& result = {});
std::vector<RecordedCall> matching(const std::vector<RecordedCall>& calls, const std::string& name,
                                   const Words& arguments = {}, const Words& result = {});
std::vector<RecordedCall> inPass(const std::vector<RecordedCall>& calls, unsigned long pass);

// The matrix of an argument written "[a b c d; e f g h; i j k l]".
HmdMatrix34_t matrixOf(const std::string& argument);
