#include "child_process.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalventa::bench {

pid_t spawn(const std::vector<std::string>& command, const SpawnOptions& options)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0)
        throw std::system_error(errno, std::generic_category(), "fork");
    if (pid > 0)
        return pid;

    // The child: only async-signal-safe calls until exec, apart from setenv,
    // which is safe here because the benchmark has a single thread.
    prctl(PR_SET_PDEATHSIG, options.deathSignal);
    if (getppid() != parent)
        _exit(126);
    if (!options.showOutput) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    if (options.inheritedFd >= 0)
        fcntl(options.inheritedFd, F_SETFD, 0);
    if (!options.display.empty())
        setenv("DISPLAY", options.display.c_str(), 1);
    execvp(argv[0], argv.data());
    _exit(127);
}

ChildProcess::ChildProcess(const std::vector<std::string>& command, const SpawnOptions& options)
    : pid_(spawn(command, options))
{
}

ChildProcess::~ChildProcess()
{
    if (!ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
    }
}

bool ChildProcess::running()
{
    if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_)
        ended_ = true;
    return !ended_;
}

std::string ChildProcess::endDescription() const
{
    if (!ended_)
        return "still running";
    if (WIFEXITED(status_))
        return "exit status " + std::to_string(WEXITSTATUS(status_));
    if (WIFSIGNALED(status_))
        return "signal " + std::to_string(WTERMSIG(status_));
    return "unknown end";
}

long ChildProcess::peakResidentKiB() const
{
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    constexpr std::string_view key = "VmHWM:";
    while (std::getline(status, line)) {
        if (!line.starts_with(key))
            continue;
        const std::size_t first = line.find_first_not_of(" \t", key.size());
        if (first == std::string::npos)
            return -1;
        long kib = -1;
        std::from_chars(line.data() + first, line.data() + line.size(), kib);
        return kib;
    }
    return -1;
}

bool ChildProcess::stop(int signal, std::chrono::milliseconds grace)
{
    if (!running())
        return true;
    kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!running())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    ended_ = true;
    return false;
}

} // namespace kalventa::bench
