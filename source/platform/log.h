#pragma once

// Off until the entry point turns it on as its very first step; only
// logMessage reads it.
extern bool loggingEnabled;

// Writes "[YYYY-MM-DD hh:mm:ss] " and the formatted message to the debugger
// output, ending with the caller's own line break or an added line feed.
// The whole line is cut to 1023 characters.
void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
