// The run's open files: HFILE n names slot n - 1 of the run's file table. A slot whose file is
// closed is free and taken again by the next OpenFile; what is still open closes with the run.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "builtin_api.h"
#include "win_handles.h"

class ScriptFile : public ProgramResource {
public:
    // Opens `path` with the script's open flags; nullptr when the flags or the open fail.
    static std::unique_ptr<ScriptFile> Open(const std::string& path, int32_t flags);

    bool IsOpen() const override { return static_cast<bool>(handle_); }
    bool Close();  // false when closing reported an error; the slot is free either way

    enum class ReadStatus { kByte, kEnd, kError, kStopped };
    // Next byte through the read-ahead buffer. `proceed` runs before every system read and
    // returns false to stop (kStopped), so a long read stays cancellable.
    template <typename Proceed>
    ReadStatus ReadByte(unsigned char& byte, Proceed&& proceed);
    bool Write(std::string_view bytes);
    // True when the script's position is at or beyond the end; also when the test fails.
    bool AtEnd();

private:
    bool FillBuffer();
    bool DropReadAhead();  // moves the system position back to the script's position

    UniqueFileHandle handle_;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    DWORD next_ = 0;   // next unread byte in buffer_
    DWORD count_ = 0;  // bytes held in buffer_
};

template <typename Proceed>
ScriptFile::ReadStatus ScriptFile::ReadByte(unsigned char& byte, Proceed&& proceed) {
    if (next_ == count_) {
        if (!proceed()) return ReadStatus::kStopped;
        if (!FillBuffer()) return ReadStatus::kError;
        if (count_ == 0) return ReadStatus::kEnd;
    }
    byte = static_cast<unsigned char>(buffer_[next_++]);
    return ReadStatus::kByte;
}

// Places an opened file in the first free HFILE slot (or a new one); returns its HFILE value.
int32_t AddScriptFile(BuiltinCall& call, std::unique_ptr<ScriptFile> file);
// The open file behind an HFILE value; nullptr for 0, an unknown slot or a free one.
ScriptFile* FindScriptFile(BuiltinCall& call, int32_t handle);
