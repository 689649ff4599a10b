// The FTP transfer built-ins: FtpUpload, FtpDownload and FtpDownloadUrl (one download routine),
// FtpRename and FtpDelete. Each copies its arguments, runs its worker through the cancellable
// wait and returns the worker's code; transfers go through temporary names on the receiving
// side unless the script asks otherwise.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "local_download.h"
#include "win_handles.h"
#include "wininet_binding.h"
#include "worker_slots.h"

namespace {

constexpr int32_t kConnectPassive = 1;  // FTP_CONNECT_PASSIVE
constexpr int32_t kNoTempFile = 2;      // FTP_NO_TEMP_FILE
constexpr int32_t kTypeUnknown = 0;
constexpr int32_t kTypeAscii = 1;
constexpr int32_t kTypeBinary = 2;
// Reload, and keep the file out of the Internet cache: the data goes to a file of the script's
// anyway, and Wine's cache write crashes the process when a download fails half-way.
constexpr DWORD kDownloadFlags = 0x80000000 | 0x04000000;  // RELOAD | NO_CACHE_WRITE
constexpr DWORD_PTR kFtpContext = 1;

// The arguments of all five functions, copied on the script's thread.
struct FtpBlock : WorkerBlock {
    bool fromUrl = false;  // FtpDownloadUrl: server, folder and file come from `url`
    std::string url;
    std::string server;
    std::string folder;
    std::string remoteFile;
    std::string newName;  // FtpRename only
    std::string localFile;
    std::string user;
    std::string password;
    int32_t transferType = kTypeUnknown;
    int32_t flags = 0;
};

// An open session and FTP connection; the connection closes before the session.
struct FtpConnection {
    InternetHandle session;
    InternetHandle connection;
};

enum class Step { kDone, kFailed, kStopped };

// Opens the session (failure -2) and the connection (`connectFailure`), then makes the folder
// current when one is given (failure -3); a stop request before the folder change or before
// the file operation skips the rest.
Step OpenFtpFolder(const InternetLibrary& library, FtpBlock& block, const ServerAddress& server,
                   int connectFailure, FtpConnection& ftp) {
    ftp.session = OpenSession(library);
    if (!ftp.session) {
        PostIntResult(block, -2);
        return Step::kFailed;
    }
    ftp.connection = ConnectFtp(library, ftp.session, server, block.user, block.password,
                                (block.flags & kConnectPassive) != 0);
    if (!ftp.connection) {
        PostIntResult(block, connectFailure);
        return Step::kFailed;
    }
    if (IsStopRequested(block)) return Step::kStopped;
    if (!block.folder.empty() &&
        !library.FtpSetCurrentDirectory(ftp.connection.get(), block.folder.c_str())) {
        PostIntResult(block, -3);
        return Step::kFailed;
    }
    return IsStopRequested(block) ? Step::kStopped : Step::kDone;
}

std::string Percent(const std::string& head, int percent) {
    return head + "\n" + std::to_string(percent) + "%";
}

// Transfer type 0 decides from the content: a byte 0 or 128 and above makes it binary.
// Returns 0 when a stop request ended the scan.
int32_t GuessTransferType(HANDLE file, WorkerBlock& block) {
    auto buffer = std::make_unique<unsigned char[]>(kTransferBlockMax);
    int32_t type = kTypeAscii;
    for (;;) {
        if (IsStopRequested(block)) return 0;
        DWORD read = 0;
        if (!ReadFile(file, buffer.get(), kTransferBlockMax, &read, nullptr) || read == 0) break;
        bool binary = false;
        for (DWORD i = 0; i < read && !binary; ++i) binary = buffer[i] == 0 || buffer[i] >= 128;
        if (binary) {
            type = kTypeBinary;
            break;
        }
    }
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    return type;
}

// Sends the local file; true when all of it reached the server.
bool SendFile(const InternetLibrary& library, HANDLE local, HINTERNET remote, uint64_t size,
              const std::string& head, FtpBlock& block) {
    if (size == 0) {
        PostStatus(block, head + "\n100%");
        return true;
    }
    PostStatus(block, head + "\n0%");
    auto buffer = std::make_unique<char[]>(kTransferBlockMax);
    TransferPace pace;
    uint64_t position = 0;
    int shown = 0;
    for (;;) {
        if (IsStopRequested(block)) {
            block.returnCode = kErrCancelled;
            return false;
        }
        DWORD read = 0;
        if (!ReadFile(local, buffer.get(), pace.size(), &read, nullptr)) {
            PostIntResult(block, -4);
            return false;
        }
        if (read == 0) break;
        DWORD sent = 0;
        if (!library.WriteFile(remote, buffer.get(), read, &sent) || sent != read) {
            PostIntResult(block, -8);
            return false;
        }
        pace.Adjust(read);
        position += read;
        int percent = static_cast<int>(position * 100 / size);
        if (percent != shown) {
            shown = percent;
            PostStatus(block, Percent(head, percent));
        }
    }
    return position == size;
}

void UploadWorker(WorkerBlock& base) {
    auto& block = static_cast<FtpBlock&>(base);
    if (block.transferType < kTypeUnknown || block.transferType > kTypeBinary ||
        block.localFile.empty() || block.server.empty()) {
        PostIntResult(block, -1);
        return;
    }
    std::string finalName =
        block.remoteFile.empty() ? NameOfPath(block.localFile) : block.remoteFile;
    bool useTemp = (block.flags & kNoTempFile) == 0;
    std::string writeName =
        useTemp ? "vexaftpupload" + std::to_string(block.slot) + ".tmp" : finalName;
    std::string head = "FTP Upload: " + NameOfPath(block.localFile);

    UniqueFileHandle local(CreateFileA(FullLocalPath(block.localFile).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!local) {
        PostIntResult(block, -5);
        return;
    }
    int32_t type = block.transferType;
    if (type == kTypeUnknown) {
        PostStatus(block, head + "\nGuessing FTP transfer type...");
        type = GuessTransferType(local.get(), block);
        if (type == 0) {
            block.returnCode = kErrCancelled;
            return;
        }
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(local.get(), &size);

    InternetLibrary library;
    PostStatus(block, head + "\nConnecting...");
    FtpConnection ftp;
    if (OpenFtpFolder(library, block, ParseServerText(block.server), -6, ftp) != Step::kDone)
        return;
    bool complete = false;
    {
        InternetHandle remote(library, library.FtpOpenFile(ftp.connection.get(), writeName.c_str(),
                                                           GENERIC_WRITE, type, kFtpContext));
        if (!remote) {
            PostIntResult(block, -7);
            return;
        }
        complete = SendFile(library, local.get(), remote.get(),
                            static_cast<uint64_t>(size.QuadPart), head, block);
    }  // the remote file closes here, which reads the server's last word on the transfer
    if (complete && ServerReportedFailure(library)) {
        PostIntResult(block, -8);
        complete = false;
    }
    if (!useTemp) {
        if (complete) PostIntResult(block, 1);
        return;
    }
    bool written = !complete;  // a failed transfer has written its code
    if (complete) {
        PostStatus(block, head + "\nRenaming file...");
        if (library.FtpRenameFile(ftp.connection.get(), writeName.c_str(), finalName.c_str())) {
            PostIntResult(block, 1);
            return;
        }
        PostIntResult(block, -9);
        written = true;
    }
    PostStatus(block, head + "\nDeleting temporary file...");
    if (!library.FtpDeleteFile(ftp.connection.get(), writeName.c_str()) && !written)
        PostIntResult(block, -10);
}

// FtpDownloadUrl: "ftp://" in front unless there, then host, port, folder and file from the URL.
bool CrackFtpUrl(const InternetLibrary& library, FtpBlock& block, ServerAddress& server) {
    std::string url = block.url;
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, url.c_str(),
                       static_cast<int>(std::min<std::size_t>(url.size(), 6)), "ftp://",
                       6) != CSTR_EQUAL)
        url = "ftp://" + url;
    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = "";
    char path[INTERNET_MAX_PATH_LENGTH + 1] = "";
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    if (!library.CrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
    server.host = host;
    server.port = parts.nPort;
    std::string urlPath = path;
    std::size_t cut = urlPath.rfind('/');
    block.folder = cut == std::string::npos ? std::string() : urlPath.substr(0, cut);
    block.remoteFile = cut == std::string::npos ? urlPath : urlPath.substr(cut + 1);
    return true;
}

const DownloadCodes kFtpDownloadCodes{-4, -8, -11, -9, -12, -10, -13};

void DownloadWorker(WorkerBlock& base) {
    auto& block = static_cast<FtpBlock&>(base);
    InternetLibrary library;
    ServerAddress server = ParseServerText(block.server);
    if (block.fromUrl && !CrackFtpUrl(library, block, server)) {
        PostIntResult(block, -14);
        return;
    }
    if ((block.transferType != kTypeAscii && block.transferType != kTypeBinary) ||
        server.host.empty() || block.remoteFile.empty()) {
        PostIntResult(block, -1);
        return;
    }
    DownloadTarget target =
        MakeDownloadTarget(block.localFile.empty() ? block.remoteFile : block.localFile,
                           "vexaftpdownload%d.tmp", block.slot, (block.flags & kNoTempFile) == 0);
    DownloadReport report{block, "FTP Download: " + block.remoteFile, kFtpDownloadCodes};

    report.Status("Connecting...");
    FtpConnection ftp;
    if (OpenFtpFolder(library, block, server, -6, ftp) != Step::kDone) return;
    bool complete = false;
    {
        InternetHandle remote(
            library,
            library.FtpOpenFile(ftp.connection.get(), block.remoteFile.c_str(), GENERIC_READ,
                                block.transferType | kDownloadFlags, kFtpContext));
        if (!remote) {
            PostIntResult(block, -5);
            return;
        }
        UniqueFileHandle local(CreateFileA(target.writePath().c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!local) {
            PostIntResult(block, -7);
            return;
        }
        DWORD high = 0;
        uint32_t size = library.FtpGetFileSize(remote.get(), &high);
        uint64_t copied = 0;
        complete = CopyToLocalFile(library, remote.get(), local.get(), size, report, copied);
    }  // the local file and the remote handle close before the files are moved
    if (complete && ServerReportedFailure(library)) {
        report.Write(kFtpDownloadCodes.read);
        complete = false;
    }
    FinishDownload(target, complete, report);
}

void RenameWorker(WorkerBlock& base) {
    auto& block = static_cast<FtpBlock&>(base);
    if (block.server.empty() || block.remoteFile.empty() || block.newName.empty()) {
        PostIntResult(block, -1);
        return;
    }
    PostStatus(block, "FTP Rename: " + block.remoteFile + " " + block.newName + "\nConnecting...");
    InternetLibrary library;
    FtpConnection ftp;
    if (OpenFtpFolder(library, block, ParseServerText(block.server), -4, ftp) != Step::kDone)
        return;
    bool ok = library.FtpRenameFile(ftp.connection.get(), block.remoteFile.c_str(),
                                    block.newName.c_str());
    PostIntResult(block, ok ? 1 : -5);
}

void DeleteWorker(WorkerBlock& base) {
    auto& block = static_cast<FtpBlock&>(base);
    if (block.server.empty() || block.remoteFile.empty()) {
        PostIntResult(block, -1);
        return;
    }
    PostStatus(block, "FTP Delete: " + block.remoteFile + "\nConnecting...");
    InternetLibrary library;
    FtpConnection ftp;
    if (OpenFtpFolder(library, block, ParseServerText(block.server), -4, ftp) != Step::kDone)
        return;
    PostIntResult(block,
                  library.FtpDeleteFile(ftp.connection.get(), block.remoteFile.c_str()) ? 1 : -5);
}

// Reads the string parameters in order into `fields`; 0 or the accessor's error. A text holding
// a NUL makes the call a bad-parameter one (-1, `usable` false): the system would see a shorter
// name, and a download could replace another file.
int GetStrings(BuiltinCall& call, std::initializer_list<std::string*> fields, bool& usable) {
    int position = 0;
    usable = true;
    for (std::string* field : fields) {
        if (int error = GetStringParam(call, position++, *field)) return error;
        if (!IsSystemText(*field)) usable = false;
    }
    if (!usable) SetIntResult(call, -1);
    return kOk;
}

}  // namespace

int Builtin_FtpUpload(BuiltinCall& call) {
    SetIntResult(call, 0);
    auto block = std::make_shared<FtpBlock>();
    bool usable = true;
    if (int error = GetStrings(call, {&block->localFile, &block->server, &block->folder,
                                      &block->remoteFile, &block->user, &block->password}, usable))
        return error;
    if (int error = GetOptionalIntParam(call, 6, block->transferType)) return error;
    if (int error = GetOptionalIntParam(call, 7, block->flags)) return error;
    if (!usable) return kOk;
    return RunInternetWorker(call, UploadWorker, block);
}

int Builtin_FtpDownload(BuiltinCall& call) {
    SetIntResult(call, 0);
    auto block = std::make_shared<FtpBlock>();
    bool usable = true;
    if (int error = GetStrings(call, {&block->server, &block->folder, &block->remoteFile,
                                      &block->localFile, &block->user, &block->password}, usable))
        return error;
    if (int error = GetIntParam(call, 6, block->transferType)) return error;
    if (int error = GetOptionalIntParam(call, 7, block->flags)) return error;
    if (!usable) return kOk;
    return RunInternetWorker(call, DownloadWorker, block);
}

int Builtin_FtpDownloadUrl(BuiltinCall& call) {
    SetIntResult(call, 0);
    auto block = std::make_shared<FtpBlock>();
    bool usable = true;
    if (int error = GetStrings(
            call, {&block->url, &block->localFile, &block->user, &block->password}, usable))
        return error;
    if (int error = GetIntParam(call, 4, block->transferType)) return error;
    if (int error = GetOptionalIntParam(call, 5, block->flags)) return error;
    block->fromUrl = true;
    if (!usable) return kOk;
    return RunInternetWorker(call, DownloadWorker, block);
}

int Builtin_FtpRename(BuiltinCall& call) {
    SetIntResult(call, 0);
    auto block = std::make_shared<FtpBlock>();
    bool usable = true;
    if (int error = GetStrings(call, {&block->server, &block->folder, &block->remoteFile,
                                      &block->newName, &block->user, &block->password}, usable))
        return error;
    if (int error = GetOptionalIntParam(call, 6, block->flags)) return error;
    if (!usable) return kOk;
    return RunInternetWorker(call, RenameWorker, block);
}

int Builtin_FtpDelete(BuiltinCall& call) {
    SetIntResult(call, 0);
    auto block = std::make_shared<FtpBlock>();
    bool usable = true;
    if (int error = GetStrings(call, {&block->server, &block->folder, &block->remoteFile,
                                      &block->user, &block->password}, usable))
        return error;
    if (int error = GetOptionalIntParam(call, 5, block->flags)) return error;
    if (!usable) return kOk;
    return RunInternetWorker(call, DeleteWorker, block);
}
