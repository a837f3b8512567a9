#pragma once
// Fork/exec of the programs the benchmark runs, and what it reads of a program
// from outside: whether it still runs and its peak resident memory.

#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

namespace kalventa::bench {

struct SpawnOptions {
    // DISPLAY for the child; left as it is when empty.
    std::string display;
    // Standard output and error go to /dev/null unless this is set.
    bool showOutput = false;
    // A descriptor the child keeps open across exec, or -1.
    int inheritedFd = -1;
    // Sent to the child if the benchmark dies first, so that nothing is left.
    int deathSignal = 9;
};

// Starts `command` (searched in PATH); throws std::system_error if fork fails.
pid_t spawn(const std::vector<std::string>& command, const SpawnOptions& options);

class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& command, const SpawnOptions& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // How the child ended ("exit status 1", "signal 11"), once it has.
    std::string endDescription() const;

    // VmHWM of /proc/PID/status: the largest resident set so far, in KiB;
    // -1 if it cannot be read.
    long peakResidentKiB() const;

    // Sends `signal` and waits up to `grace` for the child to end, then
    // sends SIGKILL. Returns false if it had to be killed.
    bool stop(int signal, std::chrono::milliseconds grace);

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool ended_ = false;
};

} // namespace kalventa::bench
