// FtpGetFolderListing: the names in an FTP folder, folders and files as the flags say, in the
// server's order or sorted ignoring case, each followed by "\n".
#include "ftp_listing.h"

#include <mbstring.h>

#include <algorithm>
#include <memory>

#include "builtin_api.h"
#include "error_codes.h"

namespace {

constexpr int32_t kListFolders = 1;  // GFL_FOLDERS
constexpr int32_t kListFiles = 2;    // GFL_FILES
constexpr int32_t kListSorted = 4;   // GFL_SORT
constexpr int32_t kConnectPassive = 1;
constexpr DWORD kReloadFlag = 0x80000000;
constexpr DWORD_PTR kFtpContext = 1;

struct ListingBlock : WorkerBlock {
    std::string server;
    std::string user;
    std::string password;
    std::string folder;
    std::string pattern;
    int32_t listFlags = kListFolders | kListFiles | kListSorted;
    int32_t connectFlags = 0;
};

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                    reinterpret_cast<const unsigned char*>(b.c_str())) < 0;
}

void ListingWorker(WorkerBlock& base) {
    auto& block = static_cast<ListingBlock&>(base);
    if (block.server.empty()) {
        PostStringResult(block, "ERROR: Invalid Parameter");
        return;
    }
    ServerAddress server = ParseServerText(block.server);
    std::string head = "FTP Get Folder Listing: " + server.host;
    PostStatus(block, head + "\nConnecting...");
    InternetLibrary library;
    InternetHandle session = OpenSession(library);
    if (!session) {
        PostStringResult(block, "ERROR: Cannot open Internet session");
        return;
    }
    InternetHandle connection = ConnectFtp(library, session, server, block.user, block.password,
                                           (block.connectFlags & kConnectPassive) != 0);
    if (!connection) {
        PostStringResult(block, "ERROR: Cannot connect to server");
        return;
    }
    if (IsStopRequested(block)) return;
    if (!block.folder.empty()) {
        PostStatus(block, head + "\nSet current folder...");
        if (!library.FtpSetCurrentDirectory(connection.get(), block.folder.c_str())) {
            PostStringResult(block, "ERROR: Cannot set current directory");
            return;
        }
    }
    if (IsStopRequested(block)) return;
    PostStatus(block, head + "\nGet listing...");
    std::vector<std::string> names;
    for (FtpEntry& entry : ListFtpFolder(library, connection.get(), block.pattern, block)) {
        if (entry.folder ? (block.listFlags & kListFolders) : (block.listFlags & kListFiles))
            names.push_back(std::move(entry.name));
    }
    if (block.listFlags & kListSorted)
        std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
    std::string text;
    for (const std::string& name : names) text += name + "\n";
    PostStringResult(block, std::move(text));
}

}  // namespace

std::vector<FtpEntry> ListFtpFolder(const InternetLibrary& library, HINTERNET connection,
                                    const std::string& pattern, const WorkerBlock& block) {
    std::vector<FtpEntry> entries;
    WIN32_FIND_DATAA found{};
    // No pattern lists everything; Wine lists nothing for an empty one.
    InternetHandle find(
        library, library.FtpFindFirstFile(connection, pattern.empty() ? nullptr : pattern.c_str(),
                                          &found, kReloadFlag, kFtpContext));
    if (!find) return entries;
    do {
        entries.push_back(
            {found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (!IsStopRequested(block) && library.FindNextFile(find.get(), &found));
    return entries;
}

int Builtin_FtpGetFolderListing(BuiltinCall& call) {
    SetStringResult(call, "");
    auto block = std::make_shared<ListingBlock>();
    if (int error = GetStringParam(call, 0, block->server)) return error;
    if (int error = GetStringParam(call, 1, block->user)) return error;
    if (int error = GetStringParam(call, 2, block->password)) return error;
    if (int error = GetOptionalStringParam(call, 3, block->folder)) return error;
    if (int error = GetOptionalStringParam(call, 4, block->pattern)) return error;
    if (int error = GetOptionalIntParam(call, 5, block->listFlags)) return error;
    if (int error = GetOptionalIntParam(call, 6, block->connectFlags)) return error;
    call.window.SetStatusText("FTP Get Folder Listing...");
    return RunInternetWorker(call, ListingWorker, block);
}
