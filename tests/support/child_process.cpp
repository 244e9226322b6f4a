#include "support/child_process.h"

#include <csignal>
#include <fcntl.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/test_files.h"

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory, const Environment& environment,
                           const std::string& outputFolder)
    : outputFolder_(outputFolder.empty() ? workingDirectory : outputFolder) {
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string out = outputFolder_ + "/stdout.txt", err = outputFolder_ + "/stderr.txt";
    // Emptied before the child starts, so that nothing of an earlier process
    // in the same folder can be read as this one's.
    const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    pid_ = fork();
    if (pid_ != 0) {
        if (outFile >= 0) close(outFile);
        if (errFile >= 0) close(errFile);
        return;
    }
    if (chdir(workingDirectory.c_str()) != 0 || outFile < 0 || errFile < 0) _exit(127);
    dup2(outFile, STDOUT_FILENO);
    dup2(errFile, STDERR_FILENO);
    for (const auto& [name, value] : environment) {
        if (value.empty())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
}

ChildProcess::~ChildProcess() { killAndWait(std::chrono::seconds(5)); }

std::optional<int> ChildProcess::killAndWait(std::chrono::milliseconds timeout) {
    if (running()) kill(pid_, SIGKILL);
    return waitForExit(timeout);
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto ended = [&] {
        int raw = 0;
        if (!status_ && pid_ > 0 && waitpid(pid_, &raw, WNOHANG) == pid_)
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
        return status_ || pid_ <= 0;
    };
    eventually(ended, timeout);
    return status_;
}

std::string ChildProcess::standardError() const { return readWholeFile(outputFolder_ + "/stderr.txt"); }

std::string ChildProcess::standardOutput() const { return readWholeFile(outputFolder_ + "/stdout.txt"); }

bool ChildProcess::waitForErrorText(const std::string& text, std::chrono::milliseconds timeout) {
    return eventually([&] { return standardError().find(text) != std::string::npos; }, timeout);
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string untimedLines(const std::string& log) {
    static const std::regex stamp(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] .*)");
    std::string untimed;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        if (!std::regex_match(line, stamp)) untimed += line + "\n";
    return untimed;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
