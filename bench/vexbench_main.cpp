// The native benchmark runner: runs one script through the real run driver with the test host
// (a 64 MiB script stack, as on Windows) and prints the engine call's time and the peak memory.
// The call runs on a thread with the runner's 72 MiB stack, made before the clock starts as
// vexrun's main thread is made before it times: the host runs the script on it in place.
#include <pthread.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "driver.h"
#include "fake_platform.h"
#include "script_result.h"

namespace {

struct Bench {
    const char* script;
    int rc = 0;
    ScriptResult record{};
    double elapsedMs = 0;
};

void* TimeEngineCall(void* data) {
    auto* bench = static_cast<Bench*>(data);
    FakePlatform platform;
    platform.largeScriptStack = true;
    platform.statementsPerPump = kStatementsPerPump;  // as often as the running window looks
    const auto start = std::chrono::steady_clock::now();
    bench->rc = RunScriptFile(platform, nullptr, bench->script, "main()", 0, bench->record);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    bench->elapsedMs = elapsed.count();
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexbench script.vxs\n");
        return 2;
    }
    Bench bench{argv[1]};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, std::size_t{72} << 20);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attributes, &TimeEngineCall, &bench) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) {
        std::fprintf(stderr, "vexbench: no thread for the engine call\n");
        return 2;
    }
    pthread_join(thread, nullptr);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rc=%d\nline=%d\nname=%s\nelapsed_ms=%.3f\npeak_kib=%ld\n", bench.rc,
                bench.record.line, bench.record.name, bench.elapsedMs, usage.ru_maxrss);
    return 0;
}
