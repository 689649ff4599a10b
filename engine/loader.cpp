// Script file loader: the whole file as 8-bit text, never empty, at most kMaxScriptFileSize bytes.
#include "loader.h"

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
    // Read in chunks instead of trusting a size query: a file that grows, or one whose size
    // does not fit a long, is still judged by the bytes actually read, and never beyond max + 1.
    std::string buffer;
    char chunk[65536];
    for (;;) {
        std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (got > 0) {
            if (buffer.size() + got > static_cast<std::size_t>(kMaxScriptFileSize))
                return kErrTooBig;
            try {
                buffer.append(chunk, got);
            } catch (const std::bad_alloc&) {
                return kErrLoad;  // no memory for the text
            }
        }
        if (got < sizeof chunk) break;
    }
    if (std::ferror(file.get()) || buffer.empty()) return kErrLoad;
    // A NUL byte ends the text early, as in any C string.
    buffer.resize(std::strlen(buffer.c_str()));
    text = std::move(buffer);
    return kOk;
}
