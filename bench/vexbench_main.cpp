// The native benchmark runner: runs one script through the real run driver with the test host
// (a 64 MiB script stack, as on Windows) and prints the engine call's time and the peak memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver.h"
#include "fake_platform.h"
#include "script_result.h"

namespace {

// This program's own peak memory in KiB (VmHWM), or -1. Not getrusage's maxrss: Linux carries
// the forking parent's size over the exec into it, so a runner started by a large python3
// reported python3's memory as its peak.
long PeakKib() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
    std::fclose(status);
    return kib;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexbench script.vxs\n");
        return 2;
    }
    FakePlatform platform;
    platform.largeScriptStack = true;
    platform.statementsPerPump = kStatementsPerPump;  // as often as the running window looks
    ScriptResult record{};
    const auto start = std::chrono::steady_clock::now();
    int rc = RunScriptFile(platform, nullptr, argv[1], "main()", 0, record);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    std::printf("rc=%d\nline=%d\nname=%s\nelapsed_ms=%.3f\npeak_kib=%ld\n", rc, record.line,
                record.name, elapsed.count(), PeakKib());
    return 0;
}
