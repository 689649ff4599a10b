// The native benchmark runner: runs one script through the real run driver with the test host
// (a 64 MiB script stack, as on Windows) and prints the engine call's time and the peak memory.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "driver.h"
#include "fake_platform.h"
#include "script_result.h"

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
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rc=%d\nline=%d\nname=%s\nelapsed_ms=%.3f\npeak_kib=%ld\n", rc, record.line,
                record.name, elapsed.count(), usage.ru_maxrss);
    return 0;
}
