// File built-ins: HFILE line access (OpenFile ... FileEOF) and one-shot operations on
// files and folders by path (append, create, copy, move, delete, tests, attributes, times).
#include <windows.h>

#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "file_table.h"
#include "time_format.h"
#include "win_handles.h"

namespace {

constexpr int32_t kDefaultOpenFlags = 0x0010;  // FILE_SHARE_EXCLUSIVE: read, no sharing
constexpr DWORD kVolumeLabel = 0x08;

// The directory entry of `path` found by a directory search for the name as passed, so a
// drive root is not found. Attributes keep their low 7 bits.
bool LookUpEntry(const std::string& path, WIN32_FIND_DATAA& entry) {
    if (path.empty() || path.size() >= MAX_PATH || !IsSystemText(path)) return false;
    UniqueFindHandle find(FindFirstFileA(path.c_str(), &entry));
    if (!find) return false;
    entry.dwFileAttributes &= 0x7F;
    return true;
}

bool IsExistingFolder(const std::string& path) {
    WIN32_FIND_DATAA entry;
    return LookUpEntry(path, entry) && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Index just past "\\server\share" of a UNC path (those levels cannot be created), else 0.
std::size_t UncRootLength(const std::string& path) {
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return 0;
    int separators = 0;
    for (std::size_t i = 2; i < path.size(); ++i)
        if (IsSeparator(path[i]) && ++separators == 2) return i;
    return path.size();
}

// Creates every missing folder above `path`, then `path` itself. A separator at the very end
// is left to the last creation, so "C:\a\b\" reports the folder it made as a success.
bool CreateFolderWithParents(const std::string& path) {
    std::size_t skipUntil = UncRootLength(path);
    bool drive = path.size() > 1 && path[1] == ':';
    for (std::size_t i = 1; i + 1 < path.size(); ++i) {
        if (!IsSeparator(path[i]) || i <= skipUntil || (drive && i <= 2)) continue;
        std::string part = path.substr(0, i);
        if (IsExistingFolder(part)) continue;
        if (!CreateDirectoryA(part.c_str(), nullptr)) return false;
    }
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

// "\n" not already preceded by "\r" becomes "\r\n", so appending Windows text stays intact.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

// The two-path operations share their parameters and their empty-path rule.
template <typename Operation>
int TwoPathOperation(BuiltinCall& call, const char* status, Operation&& operation) {
    SetIntResult(call, 0);
    std::string source, target;
    if (int error = GetStringParam(call, 0, source)) return error;
    if (int error = GetStringParam(call, 1, target)) return error;
    if (source.empty() || target.empty() || !IsSystemText(source) || !IsSystemText(target))
        return kOk;
    StatusLine line(call.window, status);
    SetIntResult(call, operation(source, target) ? 1 : 0);
    return kOk;
}

// The one-path operations that answer 1 or 0.
template <typename Operation>
int OnePathOperation(BuiltinCall& call, const char* status, Operation&& operation) {
    SetIntResult(call, 0);
    std::string path;
    if (int error = GetStringParam(call, 0, path)) return error;
    if (!IsSystemText(path)) return kOk;
    StatusLine line(call.window, status);
    SetIntResult(call, operation(path) ? 1 : 0);
    return kOk;
}

}  // namespace

int Builtin_OpenFile(BuiltinCall& call) {
    SetHandleResult(call, kTypeHfile, 0);
    std::string path;
    int32_t flags = kDefaultOpenFlags;
    if (int error = GetStringParam(call, 0, path)) return error;
    if (int error = GetOptionalIntParam(call, 1, flags)) return error;
    if (!IsSystemText(path)) return kOk;
    StatusLine line(call.window, "Opening file...");
    if (auto file = ScriptFile::Open(path, flags))
        SetHandleResult(call, kTypeHfile,
                        static_cast<uint32_t>(AddScriptFile(call, std::move(file))));
    return kOk;
}

int Builtin_CloseFile(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t handle = 0;
    if (int error = GetFileParam(call, 0, handle)) return error;
    if (ScriptFile* file = FindScriptFile(call, handle)) SetIntResult(call, file->Close() ? 1 : 0);
    return kOk;
}

// One line: "\n" ends it, "\r" is dropped anywhere, end of file ends it too. Messages are
// pumped before every read from the system, so Cancel reaches even a very long line.
int Builtin_ReadFileString(BuiltinCall& call) {
    SetStringResult(call, "");
    int32_t handle = 0;
    if (int error = GetFileParam(call, 0, handle)) return error;
    StatusLine status(call.window, "Reading string...");
    ScriptFile* file = FindScriptFile(call, handle);
    if (!file) return kOk;
    std::string text;
    auto proceed = [&call] { return !call.window.PumpMessages(); };
    for (;;) {
        unsigned char byte = 0;
        auto read = file->ReadByte(byte, proceed);
        if (read == ScriptFile::ReadStatus::kStopped) return kErrCancelled;
        if (read == ScriptFile::ReadStatus::kError) return kOk;
        if (read == ScriptFile::ReadStatus::kEnd || byte == '\n') break;
        if (byte != '\r') text += static_cast<char>(byte);
    }
    SetStringResult(call, std::move(text));
    return kOk;
}

int Builtin_WriteFileString(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t handle = 0;
    std::string text;
    if (int error = GetFileParam(call, 0, handle)) return error;
    if (int error = GetStringParam(call, 1, text)) return error;
    StatusLine status(call.window, "Writing string...");
    if (ScriptFile* file = FindScriptFile(call, handle))
        SetIntResult(call, file->Write(text) ? 1 : 0);
    return kOk;
}

int Builtin_FileEOF(BuiltinCall& call) {
    SetIntResult(call, 1);
    int32_t handle = 0;
    if (int error = GetFileParam(call, 0, handle)) return error;
    if (ScriptFile* file = FindScriptFile(call, handle)) SetIntResult(call, file->AtEnd() ? 1 : 0);
    return kOk;
}

int Builtin_AppendFileString(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string path, text;
    if (int error = GetStringParam(call, 0, path)) return error;
    if (int error = GetStringParam(call, 1, text)) return error;
    if (path.empty() || !IsSystemText(path)) return kOk;
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return kOk;
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return kOk;
    std::string bytes = WithCrLf(text);
    DWORD written = 0;
    bool ok =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    // The handle is exclusive: it must close on the failed write too, or the file stays locked.
    const bool closed = file.close();
    SetIntResult(call, ok && closed ? 1 : 0);
    return kOk;
}

int Builtin_CreateFile(BuiltinCall& call) {
    return OnePathOperation(call, nullptr, [](const std::string& path) {
        UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file);
    });
}

int Builtin_CopyFile(BuiltinCall& call) {
    return TwoPathOperation(call, "Copying file...",
                            [](const std::string& source, const std::string& target) {
                                return CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
                            });
}

int Builtin_MoveFile(BuiltinCall& call) {
    return TwoPathOperation(call, "Moving file...",
                            [](const std::string& source, const std::string& target) {
                                return MoveFileA(source.c_str(), target.c_str()) != FALSE;
                            });
}

int Builtin_DeleteFile(BuiltinCall& call) {
    return OnePathOperation(
        call, nullptr, [](const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; });
}

int Builtin_CreateFolder(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string path;
    int32_t createParents = 0;
    if (int error = GetStringParam(call, 0, path)) return error;
    if (int error = GetOptionalIntParam(call, 1, createParents)) return error;
    if (path.empty() || !IsSystemText(path)) return kOk;
    StatusLine status(call.window, "Create folder...");
    bool made = createParents ? CreateFolderWithParents(path)
                              : CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    SetIntResult(call, made ? 1 : 0);
    return kOk;
}

int Builtin_DeleteFolder(BuiltinCall& call) {
    return OnePathOperation(call, "Delete folder...", [](const std::string& path) {
        return RemoveDirectoryA(path.c_str()) != FALSE;
    });
}

int Builtin_FileExists(BuiltinCall& call) {
    return OnePathOperation(call, nullptr, [](const std::string& path) {
        if (path.find_first_of("*?") != std::string::npos) return false;
        WIN32_FIND_DATAA entry;
        return LookUpEntry(path, entry) &&
               (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kVolumeLabel)) == 0;
    });
}

int Builtin_FolderExists(BuiltinCall& call) {
    return OnePathOperation(call, nullptr, IsExistingFolder);
}

int Builtin_GetFileAttributes(BuiltinCall& call) {
    SetIntResult(call, -1);
    std::string path;
    if (int error = GetStringParam(call, 0, path)) return error;
    if (!IsSystemText(path)) return kOk;
    SetIntResult(call, static_cast<int32_t>(GetFileAttributesA(path.c_str())));
    return kOk;
}

int Builtin_SetFileAttributes(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string path;
    int32_t attributes = 0;
    if (int error = GetStringParam(call, 0, path)) return error;
    if (int error = GetIntParam(call, 1, attributes)) return error;
    if (!IsSystemText(path)) return kOk;
    SetIntResult(call, SetFileAttributesA(path.c_str(), static_cast<DWORD>(attributes)) ? 1 : 0);
    return kOk;
}

int Builtin_GetFileSize(BuiltinCall& call) {
    SetIntResult(call, -1);
    std::string path;
    if (int error = GetStringParam(call, 0, path)) return error;
    WIN32_FIND_DATAA entry;
    if (LookUpEntry(path, entry)) SetIntResult(call, static_cast<int32_t>(entry.nFileSizeLow));
    return kOk;
}

int Builtin_GetFileTimeString(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string path, format = "%x %X";
    if (int error = GetStringParam(call, 0, path)) return error;
    if (int error = GetOptionalStringParam(call, 1, format)) return error;
    WIN32_FIND_DATAA entry;
    std::string text;
    if (LookUpEntry(path, entry) && FormatLocalTime(format, entry.ftLastWriteTime, text))
        SetStringResult(call, std::move(text));
    return kOk;
}
