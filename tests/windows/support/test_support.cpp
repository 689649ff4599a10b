#include "test_support.h"

#include <shellapi.h>

#include <atomic>
#include <fstream>
#include <sstream>

std::string ToWindowsPath(const std::string& path) {
    std::string result = path;
    for (char& c : result)
        if (c == '/') c = '\\';
    if (!path.empty() && path[0] == '/') result = "Z:" + result;  // Wine maps the Unix root to Z:
    return result;
}

std::string BinaryDir() { return ToWindowsPath(VEX_BINARY_DIR); }
std::string SourceDir() { return ToWindowsPath(VEX_SOURCE_DIR); }
std::string TestProgramsDir() { return BinaryDir() + "\\testprograms"; }

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "vexa_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(counter++) + "_" + std::to_string(GetTickCount());
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() {
    // SHFileOperation wants a double-NUL-terminated list.
    std::string from = path_ + std::string(1, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

bool WriteTextFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    return static_cast<bool>(out);
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string WithoutCarriageReturns(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

bool CopyInto(const std::string& source, const std::string& folder) {
    size_t slash = source.find_last_of("\\/");
    std::string name = slash == std::string::npos ? source : source.substr(slash + 1);
    return CopyFileA(source.c_str(), (folder + "\\" + name).c_str(), FALSE) != FALSE;
}

bool StartProcess(const std::string& commandLine, const std::string& folder,
                  StartedProcess& started) {
    std::string writable = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    started.process = info.hProcess;
    started.id = info.dwProcessId;
    return true;
}

long WaitExit(const StartedProcess& started, DWORD timeoutMs) {
    if (WaitForSingleObject(started.process, timeoutMs) != WAIT_OBJECT_0) return -1000;
    DWORD code = 0;
    GetExitCodeProcess(started.process, &code);
    return static_cast<long>(code);
}
