// Reading and writing the launcher menu file. Integers are little-endian; strings use the
// archive's counted form: a one-byte length, or 0xFF and a 16-bit length, or 0xFF 0xFFFF and a
// 32-bit length. 0xFF 0xFFFE announces 16-bit characters, which are read but never written.
#include "launcher_menu_file.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr char kMagic[4] = {'V', 'E', 'X', 'L'};
constexpr uint16_t kVersion = 4;
constexpr size_t kArchiveBuffer = 4096;

// A stdio file with the archive's 4,096-byte buffer, closed on every path.
class ArchiveFile {
public:
    ArchiveFile(const std::string& path, const char* mode) : file_(std::fopen(path.c_str(), mode)) {
        if (file_) std::setvbuf(file_, nullptr, _IOFBF, kArchiveBuffer);
    }
    ~ArchiveFile() { Close(); }
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    std::FILE* get() const { return file_; }
    // True when the file was open and every buffered byte reached it.
    bool Close() {
        if (!file_) return false;
        bool ok = std::ferror(file_) == 0;
        ok = std::fclose(file_) == 0 && ok;
        file_ = nullptr;
        return ok;
    }

private:
    std::FILE* file_;
};

class ArchiveWriter {
public:
    explicit ArchiveWriter(std::FILE* file) : file_(file) {}
    bool ok() const { return ok_; }

    void Bytes(const void* data, size_t size) {
        if (ok_ && size > 0) ok_ = std::fwrite(data, 1, size, file_) == size;
    }
    void U8(uint8_t v) { Bytes(&v, 1); }
    void U16(uint16_t v) {
        uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        Bytes(b, 2);
    }
    void U32(uint32_t v) {
        uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        Bytes(b, 4);
    }
    void String(const std::string& text) {
        size_t n = text.size();
        if (n < 0xFF) {
            U8(uint8_t(n));
        } else if (n < 0xFFFE) {
            U8(0xFF);
            U16(uint16_t(n));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(uint32_t(n));
        }
        Bytes(text.data(), n);
    }

private:
    std::FILE* file_;
    bool ok_ = true;
};

class ArchiveReader {
public:
    ArchiveReader(std::FILE* file, uint64_t size) : file_(file), left_(size) {}
    bool ok() const { return ok_; }
    uint64_t left() const { return left_; }

    bool Bytes(void* data, size_t size) {
        if (!ok_ || size > left_ || std::fread(data, 1, size, file_) != size) ok_ = false;
        if (ok_) left_ -= size;
        return ok_;
    }
    uint8_t U8() {
        uint8_t b = 0;
        Bytes(&b, 1);
        return b;
    }
    uint16_t U16() {
        uint8_t b[2] = {};
        Bytes(b, 2);
        return uint16_t(b[0] | b[1] << 8);
    }
    uint32_t U32() {
        uint8_t b[4] = {};
        Bytes(b, 4);
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }
    // Stores a value just read, unless reading it failed.
    template <typename T>
    void Get(T& field, T value) {
        if (ok_) field = value;
    }
    bool String(std::string& text) {
        bool wide = false;
        uint32_t n = Length(wide);
        if (!ok_) return false;
        if (wide) return WideString(n, text);
        // A length beyond the bytes left is a damaged file, not a reason to allocate gigabytes.
        if (n > left_) return ok_ = false;
        std::string read(n, '\0');
        if (!Bytes(read.data(), n)) return false;
        text = std::move(read);
        return true;
    }

private:
    uint32_t Length(bool& wide) {
        uint8_t b = U8();
        if (b < 0xFF) return b;
        uint16_t w = U16();
        if (w == 0xFFFE && !wide) {  // 16-bit characters: the real length follows
            wide = true;
            return Length(wide);
        }
        if (w < 0xFFFF) return w;
        return U32();
    }
    bool WideString(uint32_t count, std::string& text) {
        if (count > left_ / 2) return ok_ = false;
        std::wstring wide(count, L'\0');
        for (wchar_t& c : wide) c = wchar_t(U16());
        if (!ok_) return false;
        text.clear();
        if (count == 0) return true;
        int size =
            WideCharToMultiByte(CP_ACP, 0, wide.data(), int(count), nullptr, 0, nullptr, nullptr);
        text.assign(size_t(size > 0 ? size : 0), '\0');
        if (size > 0)
            WideCharToMultiByte(CP_ACP, 0, wide.data(), int(count), text.data(), size, nullptr,
                                nullptr);
        return true;
    }

    std::FILE* file_;
    uint64_t left_;
    bool ok_ = true;
};

uint64_t FileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    long long size = _ftelli64(file);
    std::fseek(file, 0, SEEK_SET);
    return size > 0 ? uint64_t(size) : 0;
}

}  // namespace

void SetEditorHeader(LauncherConfig& config, const std::string& editorProgram,
                     const std::string& windowClass, const std::string& startDirectory) {
    config.launcherName = kLauncherName;
    config.headerValue = 1;
    config.editorProgram = editorProgram;
    config.editorWindowClass = windowClass;
    config.startDirectory = startDirectory;
    config.flagA = 0;
    config.flagB = 1;
}

bool SaveMenuFile(const std::string& path, const LauncherConfig& config) {
    ArchiveFile file(path, "wb");
    if (!file.get()) return false;
    ArchiveWriter out(file.get());
    out.Bytes(kMagic, sizeof kMagic);
    out.U16(kVersion);
    out.String(config.launcherName);
    out.U32(uint32_t(config.headerValue));
    out.String(config.editorProgram);
    out.String(config.editorWindowClass);
    out.String(config.startDirectory);
    out.U8(config.flagA);
    out.U8(config.flagB);
    out.U32(uint32_t(config.entries.size()));
    for (const CLauncherCommand& entry : config.entries) {
        out.String(entry.name);
        out.String(entry.scriptPath);
        out.U16(entry.flag);
    }
    return file.Close() && out.ok();
}

bool LoadMenuFile(const std::string& path, LauncherConfig& config) {
    ArchiveFile file(path, "rb");
    if (!file.get()) return false;
    ArchiveReader in(file.get(), FileSize(file.get()));
    char magic[4] = {};
    if (!in.Bytes(magic, sizeof magic) || std::string(magic, 4) != std::string(kMagic, 4))
        return false;
    if (in.U16() != kVersion || !in.ok()) return false;
    in.String(config.launcherName);
    in.Get(config.headerValue, int32_t(in.U32()));
    in.String(config.editorProgram);
    in.String(config.editorWindowClass);
    in.String(config.startDirectory);
    in.Get(config.flagA, in.U8());
    in.Get(config.flagB, in.U8());
    uint32_t count = in.U32();  // a failed read leaves every field after it untouched
    // Every entry takes at least four bytes; a larger count comes from a damaged file.
    if (!in.ok() || count > in.left() / 4) return false;
    config.entries.resize(count);
    for (CLauncherCommand& entry : config.entries) {
        in.String(entry.name);
        in.String(entry.scriptPath);
        in.Get(entry.flag, in.U16());
    }
    return in.ok();
}
