// DownloadUrl: any URL the Internet library can open, into a local file through the same
// temporary-file protocol as the FTP downloads.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "local_download.h"
#include "win_handles.h"
#include "wininet_binding.h"
#include "worker_slots.h"

namespace {

constexpr int32_t kConnectPassive = 1;  // DOWNLOAD_CONNECT_PASSIVE
constexpr int32_t kNoTempFile = 2;      // DOWNLOAD_NO_TEMP_FILE
// Reload, no cache write, pragma no-cache; passive FTP when asked.
constexpr DWORD kOpenUrlFlags = 0x84000100;
constexpr DWORD kPassiveFlag = 0x08000000;
constexpr DWORD_PTR kUrlContext = 1;

const DownloadCodes kUrlDownloadCodes{-4, -6, -7, -8, -9, -10, -11};

struct UrlBlock : WorkerBlock {
    std::string url;
    std::string localFile;
    int32_t flags = 0;
};

// The HTTP status of `request`, or 0 when it is no HTTP request.
DWORD HttpStatus(const InternetLibrary& library, HINTERNET request) {
    DWORD status = 0, length = sizeof status;
    if (!library.HttpQueryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                               &length, nullptr))
        return 0;
    return status;
}

// True when the response announced a length that the body did not reach. A server that
// closes early ends the data like a complete body, so only the announced length tells.
bool BodyCutShort(const InternetLibrary& library, HINTERNET request, uint64_t received) {
    char text[32] = "";
    DWORD length = sizeof text;
    if (!library.HttpQueryInfo(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr))
        return false;
    char* end = nullptr;
    unsigned long long announced = std::strtoull(text, &end, 10);
    return end != text && announced != received;
}

void UrlWorker(WorkerBlock& base) {
    auto& block = static_cast<UrlBlock&>(base);
    if (block.url.empty() || block.localFile.empty()) {
        PostIntResult(block, -1);
        return;
    }
    DownloadTarget target = MakeDownloadTarget(block.localFile, "vexadownloadurl%d.tmp", block.slot,
                                               (block.flags & kNoTempFile) == 0);
    DownloadReport report{block, "DownloadUrl: " + block.url, kUrlDownloadCodes};

    report.Status("Connecting...");
    InternetLibrary library;
    InternetHandle session = OpenSession(library);
    if (!session) {
        PostIntResult(block, -2);
        return;
    }
    DWORD flags = kOpenUrlFlags | ((block.flags & kConnectPassive) ? kPassiveFlag : 0);
    InternetHandle remote(
        library, library.OpenUrl(session.get(), block.url.c_str(), nullptr, 0, flags, kUrlContext));
    // An HTTP error page is no download of the URL's document.
    DWORD status = remote ? HttpStatus(library, remote.get()) : 0;
    if (!remote || status >= 400) {
        PostIntResult(block, -3);
        return;
    }
    if (IsStopRequested(block)) return;
    bool complete = false;
    {
        UniqueFileHandle local(CreateFileA(target.writePath().c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!local) {
            PostIntResult(block, -5);
            return;
        }
        uint64_t copied = 0;
        complete = CopyToLocalFile(library, remote.get(), local.get(), 0, report, copied);
        if (complete && status && BodyCutShort(library, remote.get(), copied)) {
            report.Write(kUrlDownloadCodes.read);
            complete = false;
        }
    }
    remote.reset();  // an FTP URL's last reply arrives as its handle closes
    if (complete && !status && ServerReportedFailure(library)) {
        report.Write(kUrlDownloadCodes.read);
        complete = false;
    }
    FinishDownload(target, complete, report);
}

}  // namespace

int Builtin_DownloadUrl(BuiltinCall& call) {
    SetIntResult(call, 0);
    auto block = std::make_shared<UrlBlock>();
    if (int error = GetStringParam(call, 0, block->url)) return error;
    if (int error = GetStringParam(call, 1, block->localFile)) return error;
    if (int error = GetOptionalIntParam(call, 2, block->flags)) return error;
    // The system would stop at a NUL: the download would replace the file of the shorter name.
    if (!IsSystemText(block->url) || !IsSystemText(block->localFile)) {
        SetIntResult(call, -1);
        return kOk;
    }
    return RunInternetWorker(call, UrlWorker, block);
}
