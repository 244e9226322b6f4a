#pragma once

// Off until the entry point turns it on as its very first step; only
// logMessage and logThrottled read it.
extern bool loggingEnabled;

// Writes "[YYYY-MM-DD hh:mm:ss] " and the formatted message to the debugger
// output, ending with the caller's own line break or an added line feed.
// The whole line is cut to 1023 characters.
void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// For lines that other programs can cause at will (a sender's refused
// message): of each kind, told apart by the format, at most one line a
// second is written; the next one written says how many were left out
// meanwhile. Safe to call from any thread.
void logThrottled(const char* format, ...) __attribute__((format(printf, 1, 2)));
