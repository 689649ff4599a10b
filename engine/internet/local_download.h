// The receiving side of the FTP and URL downloads: the data loop into a local file and the
// temporary-file protocol (move the old file aside, move the new one into place, delete the
// old one; on failure delete the temporary file and move the old one back), so an interrupted
// download never leaves a half-written file under the final name.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "wininet_binding.h"
#include "worker_slots.h"

// Transfers move data in blocks of at least 64 KiB and never sleep while data flows.
constexpr DWORD kTransferBlockMin = 64 * 1024;
constexpr DWORD kTransferBlockMax = 1024 * 1024;

// The size of the next block of a transfer. A network read or write waits until its whole
// block has moved, so a large block on a slow line would hold Cancel back for seconds: blocks
// grow while they move quickly and shrink when one takes long.
class TransferPace {
public:
    DWORD size() const { return size_; }
    void Adjust(DWORD moved);  // after each block, with the bytes it moved

private:
    static constexpr uint64_t kQuickReadMs = 50;
    static constexpr uint64_t kSlowReadMs = 200;
    DWORD size_ = kTransferBlockMin;
    uint64_t last_ = GetTickCount64();
};

// The full path of `path` (relative to the current directory), or `path` itself when it cannot
// be resolved.
std::string FullLocalPath(const std::string& path);
// The name and extension of a local or remote path: what follows the last '\', '/' or ':'.
std::string NameOfPath(const std::string& path);

// Where a download writes: the temporary "<pattern with the slot number>" beside the final file,
// or the final file itself.
struct DownloadTarget {
    std::string finalPath;
    std::string tempPath;  // empty without a temporary file
    const std::string& writePath() const { return tempPath.empty() ? finalPath : tempPath; }
};
DownloadTarget MakeDownloadTarget(const std::string& localFile, const char* tempPattern, int slot,
                                  bool useTemp);

// The codes one kind of download writes for its steps.
struct DownloadCodes {
    int read;          // reading from the server failed
    int write;         // writing the local file failed
    int aside;         // moving the existing local file aside failed
    int intoPlace;     // moving the downloaded file into place failed
    int deleteBackup;  // deleting the moved-aside existing file failed
    int deleteTemp;    // deleting the temporary file failed
    int moveBack;      // moving the existing file back failed
};

// One download's reporting: the status head ("FTP Download: name") and the first code written.
struct DownloadReport {
    WorkerBlock& block;
    std::string head;
    const DownloadCodes& codes;
    int written = 0;

    void Write(int code);
    void Status(const char* step) { PostStatus(block, head + "\n" + step); }
};

// Copies `remote` into `local` until a read of 0 bytes. With a known size (not 0) it shows the
// head, "\n0%", then each new percentage; otherwise the head alone. Returns true when the copy
// was neither cancelled (which writes -19 into the return code) nor failed (which writes the
// read or write code). `copied` receives the number of bytes written.
bool CopyToLocalFile(const InternetLibrary& library, HINTERNET remote, HANDLE local, uint32_t size,
                     DownloadReport& report, uint64_t& copied);

// The protocol's last step, after the local file and the remote handle are closed.
void FinishDownload(const DownloadTarget& target, bool complete, DownloadReport& report);
