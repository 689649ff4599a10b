// The caller-owned result record: reset at the start of every entry point, bounded copies.
#include "script_result.h"

#include <cstring>

namespace {

// Copies at most size - 1 characters and always terminates, so the caller's buffer never overflows.
void CopyBounded(char* destination, std::size_t size, std::string_view text) {
    std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
    if (length > 0) std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}

}  // namespace

void ResetResult(ScriptResult& record) {
    record.file[0] = '\0';
    record.call[0] = '\0';
    record.line = -1;
    record.param = 0;
}

void SetResultFile(ScriptResult& record, std::string_view text) {
    CopyBounded(record.file, sizeof record.file, text);
}

void SetResultCall(ScriptResult& record, std::string_view text) {
    CopyBounded(record.call, sizeof record.call, text);
}

void SetResultName(ScriptResult& record, std::string_view text) {
    CopyBounded(record.name, sizeof record.name, text);
}
