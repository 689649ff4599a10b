// Script file loader: the whole file as 8-bit text, never empty, at most kMaxScriptFileSize bytes.
#include "loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "error_codes.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int LoadScriptFile(const std::string& path, std::string& text) {
    text.clear();
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return kErrLoad;
    // Read into the text itself, its room doubling, instead of trusting a size query: a file
    // that grows, or one whose size does not fit a long, is still judged by the bytes actually
    // read, and never beyond max + 1. No large buffer on the script stack, whose every fresh
    // page costs some hosts a fault of their own.
    constexpr std::size_t kLimit = static_cast<std::size_t>(kMaxScriptFileSize);
    std::string buffer;
    std::size_t size = 0;
    for (;;) {
        const std::size_t room = std::min(std::max<std::size_t>(size, 4096), kLimit + 1 - size);
        try {
            buffer.resize(size + room);
        } catch (const std::bad_alloc&) {
            return kErrLoad;  // no memory for the text
        }
        const std::size_t got = std::fread(buffer.data() + size, 1, room, file.get());
        size += got;
        if (size > kLimit) return kErrTooBig;
        if (got < room) break;
    }
    if (std::ferror(file.get()) || size == 0) return kErrLoad;
    // A NUL byte ends the text early, as in any C string.
    // (The byte after the last one read is one of the zeros the room was made of.)
    buffer.resize(std::strlen(buffer.c_str()));
    text = std::move(buffer);
    return kOk;
}
