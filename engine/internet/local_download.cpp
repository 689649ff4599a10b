#include "local_download.h"

#include <cstdio>
#include <memory>

#include "error_codes.h"

namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "<final>.tmp", or the first free "<final>.tmp1", "<final>.tmp2", ...
std::string FreeBackupName(const std::string& finalPath) {
    std::string name = finalPath + ".tmp";
    for (int n = 1; FileExists(name); ++n) name = finalPath + ".tmp" + std::to_string(n);
    return name;
}

}  // namespace

std::string FullLocalPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH) return path;
    return std::string(buffer, length);
}

std::string NameOfPath(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

DownloadTarget MakeDownloadTarget(const std::string& localFile, const char* tempPattern, int slot,
                                  bool useTemp) {
    DownloadTarget target;
    target.finalPath = FullLocalPath(localFile);
    if (!useTemp) return target;
    char name[64];
    std::snprintf(name, sizeof name, tempPattern, slot);
    std::size_t cut = target.finalPath.find_last_of("\\/");
    target.tempPath =
        (cut == std::string::npos ? std::string() : target.finalPath.substr(0, cut + 1)) + name;
    return target;
}

void DownloadReport::Write(int code) {
    written = code;
    PostIntResult(block, code);
}

bool CopyToLocalFile(const InternetLibrary& library, HINTERNET remote, HANDLE local, uint32_t size,
                     DownloadReport& report, uint64_t& copied) {
    PostStatus(report.block, size ? report.head + "\n0%" : report.head);
    auto buffer = std::make_unique<char[]>(kTransferBlockSize);
    copied = 0;
    int shown = 0;
    for (;;) {
        if (IsStopRequested(report.block)) {
            report.block.returnCode = kErrCancelled;
            return false;
        }
        DWORD read = 0;
        if (!library.ReadFile(remote, buffer.get(), kTransferBlockSize, &read)) {
            report.Write(report.codes.read);
            return false;
        }
        if (read == 0) return true;
        DWORD wrote = 0;
        if (!WriteFile(local, buffer.get(), read, &wrote, nullptr) || wrote != read) {
            report.Write(report.codes.write);
            return false;
        }
        copied += read;
        if (size) {
            int percent = static_cast<int>(copied * 100 / size);
            if (percent != shown) {
                shown = percent;
                PostStatus(report.block, report.head + "\n" + std::to_string(percent) + "%");
            }
        }
    }
}

void FinishDownload(const DownloadTarget& target, bool complete, DownloadReport& report) {
    if (target.tempPath.empty()) {
        if (complete) report.Write(1);
        return;
    }
    std::string backup;
    if (complete && FileExists(target.finalPath)) {
        report.Status("Renaming existing file...");
        std::string name = FreeBackupName(target.finalPath);
        if (MoveFileA(target.finalPath.c_str(), name.c_str()))
            backup = name;
        else
            report.Write(report.codes.aside);
    }
    if (complete && report.written == 0) {
        report.Status("Renaming downloaded file...");
        if (MoveFileA(target.tempPath.c_str(), target.finalPath.c_str())) {
            if (!backup.empty()) {
                report.Status("Deleting existing temporary file...");
                if (!DeleteFileA(backup.c_str())) report.Write(report.codes.deleteBackup);
            }
            if (report.written == 0) report.Write(1);
            return;
        }
        report.Write(report.codes.intoPlace);
    }
    report.Status("Deleting temporary file...");
    if (!DeleteFileA(target.tempPath.c_str()) && report.written == 0)
        report.Write(report.codes.deleteTemp);
    if (!backup.empty()) {
        report.Status("Renaming existing file back...");
        if (!MoveFileA(backup.c_str(), target.finalPath.c_str()) && report.written == 0)
            report.Write(report.codes.moveBack);
    }
}
