// Paths and processes for the Windows-side tests: the build tree as Wine sees it,
// scratch folders, and starting a program with a time limit.
#pragma once
#include <windows.h>

#include <string>

// Folders of the build, as Windows paths (Z:\... under Wine).
std::string BinaryDir();  // where vexeng.dll, vexrun.exe, setup.exe live
std::string SourceDir();
std::string TestProgramsDir();  // helper programs such as Vltrix.exe
std::string ToWindowsPath(const std::string& unixOrWindowsPath);

// A fresh empty folder under the temp directory, removed with its contents on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

bool WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
// The text with every carriage return taken out, so line ends compare alike.
std::string WithoutCarriageReturns(const std::string& text);
bool CopyInto(const std::string& source, const std::string& folder);

struct StartedProcess {
    HANDLE process = nullptr;
    DWORD id = 0;
    ~StartedProcess() {
        if (process) CloseHandle(process);
    }
};
// Starts `commandLine` in `folder` (empty: current); false when it could not start.
bool StartProcess(const std::string& commandLine, const std::string& folder,
                  StartedProcess& started);
// Waits for the process; returns its exit code, or -1000 when it did not end within `timeoutMs`.
long WaitExit(const StartedProcess& started, DWORD timeoutMs);
