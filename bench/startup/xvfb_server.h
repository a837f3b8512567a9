#pragma once
// An Xvfb of the benchmark's own: it picks a free display itself
// (-displayfd), so that the benchmark never disturbs another X server and runs
// beside parallel tests. Stopped when the object goes; it also dies with the
// benchmark if the benchmark is killed.

#include "child_process.h"

#include <memory>
#include <string>

namespace kalventa::bench {

class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N", for DISPLAY and XOpenDisplay.
    const std::string& display() const { return display_; }

private:
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

} // namespace kalventa::bench
