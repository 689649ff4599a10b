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
constexpr DWORD kTransferBlockSize = 256 * 1024;

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
