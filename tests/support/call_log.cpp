#include "support/call_log.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "support/test_files.h"

namespace {

// The parts between the ", " that stand outside quotes and braces.
Words split(const std::string& text) {
    Words parts(text.empty() ? 0 : 1);
    bool inQuotes = false;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        inQuotes ^= text[i] == '"';
        depth += !inQuotes && text[i] == '{' ? 1 : !inQuotes && text[i] == '}' ? -1 : 0;
        if (!inQuotes && depth == 0 && text.compare(i, 2, ", ") == 0)
            parts.emplace_back(), ++i;
        else if (text[i] != '"')
            parts.back() += text[i];
    }
    return parts;
}

bool beginsWith(const Words& words, const Words& start) {
    return words.size() >= start.size() && std::equal(start.begin(), start.end(), words.begin());
}

}  // namespace

std::vector<RecordedCall> readCallLog(const std::string& recordFolder) {
    std::vector<RecordedCall> calls;
    std::istringstream lines(readWholeFile(recordFolder + "/calls.log"));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": "), open = line.find('(', colon);
        const std::size_t arrow = line.rfind(" -> "), close = line.rfind(')', arrow);
        if (line.rfind("pass ", 0) != 0 || arrow == std::string::npos || close < open) continue;
        calls.push_back({std::stoul(line.substr(5)), line.substr(colon + 2, open - colon - 2),
                         split(line.substr(open + 1, close - open - 1)), split(line.substr(arrow + 4))});
    }
    return calls;
}

bool matches(const RecordedCall& call, const std::string& name, const Words& arguments, const Words& result) {
    return call.name == name && beginsWith(call.arguments, arguments) && beginsWith(call.result, result);
}

std::vector<RecordedCall> matching(const std::vector<RecordedCall>& calls, const std::string& name,
                                   const Words& arguments, const Words& result) {
    std::vector<RecordedCall> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const RecordedCall& call) { return matches(call, name, arguments, result); });
    return found;
}

std::vector<RecordedCall> inPass(const std::vector<RecordedCall>& calls, unsigned long pass) {
    std::vector<RecordedCall> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const RecordedCall& call) { return call.pass == pass; });
    return found;
}

HmdMatrix34_t matrixOf(const std::string& argument) {
    HmdMatrix34_t matrix{};
    float(&m)[3][4] = matrix.m;
    std::sscanf(argument.c_str(), "[%f %f %f %f; %f %f %f %f; %f %f %f %f]", &m[0][0], &m[0][1], &m[0][2],
                &m[0][3], &m[1][0], &m[1][1], &m[1][2], &m[1][3], &m[2][0], &m[2][1], &m[2][2], &m[2][3]);
    return matrix;
}
