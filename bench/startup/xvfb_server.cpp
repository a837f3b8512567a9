#include "xvfb_server.h"

#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kalventa::bench {
namespace {

constexpr int startTimeoutMs = 10000;

// Reads the display number that Xvfb writes, with its newline, once it
// accepts connections.
std::string readDisplayNumber(int fd)
{
    std::string number;
    for (;;) {
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, startTimeoutMs);
        if (ready == 0)
            throw std::runtime_error("Xvfb did not start within 10 s");
        if (ready < 0 && errno == EINTR)
            continue;
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw std::runtime_error("Xvfb ended before it accepted connections (is the xvfb package installed?)");
        if (c == '\n')
            return number;
        number.push_back(c);
    }
}

} // namespace

XvfbServer::XvfbServer()
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    const int readEnd = pipeFds[0];
    const int writeEnd = pipeFds[1];

    SpawnOptions options;
    options.inheritedFd = writeEnd;
    // SIGTERM lets Xvfb remove its lock file and socket.
    options.deathSignal = SIGTERM;
    try {
        const std::vector<std::string> command{"Xvfb",      "-displayfd", std::to_string(writeEnd),
                                               "-screen",   "0",          "1280x1024x24",
                                               "-nolisten", "tcp",        "-noreset"};
        server_ = std::make_unique<ChildProcess>(command, options);
    } catch (...) {
        close(readEnd);
        close(writeEnd);
        throw;
    }
    close(writeEnd);
    try {
        display_ = ":" + readDisplayNumber(readEnd);
    } catch (...) {
        close(readEnd);
        throw;
    }
    close(readEnd);
}

XvfbServer::~XvfbServer()
{
    server_->stop(SIGTERM, std::chrono::seconds(5));
}

} // namespace kalventa::bench
