// File slots of a run: opening with the script's flags, buffered reading that keeps the
// script's position exact, writing, the end test, and slot reuse.
#include "file_table.h"

namespace {

constexpr DWORD kReadAhead = 4096;
constexpr int32_t kAccessMask = 0x0003;
constexpr int32_t kShareMask = 0x0070;
constexpr int32_t kCreate = 0x1000;
constexpr int32_t kNoTruncate = 0x2000;
constexpr int32_t kNoInherit = 0x0080;

bool AccessFromFlags(int32_t flags, DWORD& access) {
    switch (flags & kAccessMask) {
    case 0: access = GENERIC_READ; return true;
    case 1: access = GENERIC_WRITE; return true;
    case 2: access = GENERIC_READ | GENERIC_WRITE; return true;
    default: return false;  // 3 names no access mode
    }
}

bool ShareFromFlags(int32_t flags, DWORD& share) {
    switch (flags & kShareMask) {
    case 0x00:
    case 0x10: share = 0; return true;
    case 0x20: share = FILE_SHARE_READ; return true;
    case 0x30: share = FILE_SHARE_WRITE; return true;
    case 0x40: share = FILE_SHARE_READ | FILE_SHARE_WRITE; return true;
    default: return false;
    }
}

DWORD CreationFromFlags(int32_t flags) {
    if ((flags & kCreate) == 0) return OPEN_EXISTING;
    return (flags & kNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

}  // namespace

std::unique_ptr<ScriptFile> ScriptFile::Open(const std::string& path, int32_t flags) {
    DWORD access = 0, share = 0;
    if (path.empty() || !AccessFromFlags(flags, access) || !ShareFromFlags(flags, share))
        return nullptr;
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return nullptr;

    SECURITY_ATTRIBUTES security{sizeof(security), nullptr, (flags & kNoInherit) ? FALSE : TRUE};
    UniqueFileHandle handle(CreateFileA(full, access, share, &security, CreationFromFlags(flags),
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return nullptr;
    auto file = std::make_unique<ScriptFile>();
    file->handle_ = std::move(handle);
    file->path_ = full;
    return file;
}

bool ScriptFile::Close() {
    buffer_.reset();
    next_ = count_ = 0;
    return handle_.close();
}

bool ScriptFile::FillBuffer() {
    if (!buffer_) buffer_ = std::make_unique<char[]>(kReadAhead);
    next_ = count_ = 0;
    return ReadFile(handle_.get(), buffer_.get(), kReadAhead, &count_, nullptr) != FALSE;
}

bool ScriptFile::DropReadAhead() {
    if (next_ == count_) return true;
    LARGE_INTEGER back;
    back.QuadPart = -static_cast<LONGLONG>(count_ - next_);
    next_ = count_ = 0;
    return SetFilePointerEx(handle_.get(), back, nullptr, FILE_CURRENT) != FALSE;
}

bool ScriptFile::Write(std::string_view bytes) {
    if (!DropReadAhead()) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        if (!WriteFile(handle_.get(), bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool ScriptFile::AtEnd() {
    LARGE_INTEGER zero{}, position, size;
    if (!SetFilePointerEx(handle_.get(), zero, &position, FILE_CURRENT)) return true;
    if (!GetFileSizeEx(handle_.get(), &size)) return true;
    return position.QuadPart - static_cast<LONGLONG>(count_ - next_) >= size.QuadPart;
}

int32_t AddScriptFile(BuiltinCall& call, std::unique_ptr<ScriptFile> file) {
    return AddProgramResource(call, ResourceTable::kFiles, std::move(file));
}

ScriptFile* FindScriptFile(BuiltinCall& call, int32_t handle) {
    return dynamic_cast<ScriptFile*>(FindProgramResource(call, ResourceTable::kFiles, handle));
}
