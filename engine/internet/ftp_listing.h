// Reading an FTP folder: the entries of the connection's current folder, shared by
// FtpGetFolderListing and the FTP open dialog.
#pragma once
#include <string>
#include <vector>

#include "wininet_binding.h"
#include "worker_slots.h"

struct FtpEntry {
    std::string name;
    bool folder = false;
};

// The entries in the server's order; an empty pattern lists everything. A stop request ends
// the listing early.
std::vector<FtpEntry> ListFtpFolder(const InternetLibrary& library, HINTERNET connection,
                                    const std::string& pattern, const WorkerBlock& block);
