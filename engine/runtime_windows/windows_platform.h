// The engine's platform services on Windows: the running-script window, the current
// directory, the random seed, and a large stack for the interpreter.
#pragma once
#include <cstddef>

#include "run_window.h"

class WindowsPlatform : public EnginePlatform {
public:
    std::unique_ptr<RunWindow> CreateRunningWindow(void* owner, bool compileOnly) override;
    bool GetCurrentDir(std::string& directory) override;
    bool SetCurrentDir(const std::string& directory) override;
    uint32_t RandomSeed() override;
    int RunWithScriptStack(int (*body)(void*), void* argument) override;
    std::size_t ScriptStackBudget() override;
};

// Address space reserved for the stack the script runs on, and the part of it the interpreter
// may use before deep recursion stops with "Stack overflow" (the rest is margin for built-ins).
constexpr std::size_t kScriptStackReserve = std::size_t{64} << 20;
constexpr std::size_t kScriptStackBudget = std::size_t{56} << 20;
