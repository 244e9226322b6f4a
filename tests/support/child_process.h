#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// Runs a program in a working directory of its choice, with standard output
// and error going to files there (or in the output folder given), and the
// environment changed as asked (a variable given an empty value is removed).
class ChildProcess {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingDirectory, const Environment& environment = {},
                 const std::string& outputFolder = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit status once the process ended within the timeout; -signal when
    // a signal ended it.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool running() { return !waitForExit(std::chrono::milliseconds(0)); }
    // Ends it with SIGKILL, if it runs, and waits for its end.
    std::optional<int> killAndWait(std::chrono::milliseconds timeout);
    std::string standardError() const;
    std::string standardOutput() const;
    // Waits until the standard error holds the text.
    bool waitForErrorText(const std::string& text, std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string outputFolder_;
};

// How often the part occurs in the text, a program's output as a rule.
std::size_t occurrences(const std::string& text, const std::string& part);

// The lines of a program's log that do not begin with its time stamp
// ("[YYYY-MM-DD hh:mm:ss] "), each with its line feed.
std::string untimedLines(const std::string& log);

// Asks every 20 ms until the condition holds; false once the limit has passed.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit);
