// FtpGetOpenFileName: the modeless "FTP Open" dialog. It browses one FTP connection; each
// network step (connect, change folder, read the folder back, list it) runs as a worker whose
// wait polls the dialog, so closing the dialog stops it. OK gives "server/folder/file".
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "builtin_api.h"
#include "dialog_window.h"
#include "ftp_listing.h"
#include "progress_dialog.h"
#include "resource.h"
#include "wininet_binding.h"
#include "worker_slots.h"

namespace {

constexpr UINT kStartMessage = WM_APP + 1;
constexpr int32_t kConnectPassive = 1;
constexpr int kFolderImage = 0;
constexpr int kFileImage = 1;

// The dialog's FTP connection, shared with the step that uses it, so a step that outlives the
// dialog still owns live handles.
struct FtpLink {
    InternetLibrary library;
    InternetHandle session;
    InternetHandle connection;
};

enum class StepKind { kConnect, kSetFolder, kGetFolder, kList };

struct StepBlock : WorkerBlock {
    StepKind kind = StepKind::kConnect;
    std::shared_ptr<FtpLink> link;
    ServerAddress server;
    std::string user;
    std::string password;
    bool passive = false;
    std::string folder;             // kSetFolder
    std::vector<FtpEntry> entries;  // kList
};

void StepWorker(WorkerBlock& base) {
    auto& block = static_cast<StepBlock&>(base);
    FtpLink& link = *block.link;
    switch (block.kind) {
    case StepKind::kConnect: {
        InternetHandle session = OpenSession(link.library);
        InternetHandle connection = ConnectFtp(link.library, session, block.server, block.user,
                                               block.password, block.passive);
        if (!connection) return;
        link.session = std::move(session);
        link.connection = std::move(connection);
        PostIntResult(block, 1);
        break;
    }
    case StepKind::kSetFolder:
        if (link.library.FtpSetCurrentDirectory(link.connection.get(), block.folder.c_str()))
            PostIntResult(block, 1);
        break;
    case StepKind::kGetFolder: {
        char folder[MAX_PATH + 1] = "";
        DWORD length = MAX_PATH;
        if (link.library.FtpGetCurrentDirectory(link.connection.get(), folder, &length))
            PostStringResult(block, folder);
        break;
    }
    case StepKind::kList: {
        std::vector<FtpEntry> entries =
            ListFtpFolder(link.library, link.connection.get(), "", block);
        PostResult(block, [&] { block.entries = std::move(entries); });
        break;
    }
    }
}

// The text without its leading slashes and backslashes.
std::string WithoutLeadingSlash(const std::string& text) {
    std::size_t first = text.find_first_not_of("/\\");
    return first == std::string::npos ? std::string() : text.substr(first);
}

class CFtpOpenDlg : public CDialogWindow {
public:
    struct Options {
        std::string server;
        std::string user;
        std::string password;
        std::string folder;
        std::string fileName;
        std::string caption;
        bool passive = false;
    };

    CFtpOpenDlg(CProgressDlg& window, Options options)
        : window_(window), options_(std::move(options)), link_(std::make_shared<FtpLink>()) {}

    bool ended() const { return ended_; }
    bool stopped() const { return stopped_; }
    bool accepted() const { return accepted_; }
    const std::string& url() const { return url_; }

    void SetStatus(const std::string& text) {
        if (hwnd()) SetDlgItemTextA(hwnd(), IDC_FTP_STATUS, text.c_str());
    }
    void Disconnect() {
        SetStatus("Disconnecting...");
        link_.reset();
    }
    // The wait of a step: the dialog's messages, and the running window's Cancel.
    bool PumpForStep() {
        if (window_.PumpDialogMessages(hwnd())) stopped_ = true;
        return stopped_ || ended_;
    }

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override { End(false); }
    void OnCommand(int id) override {
        if (id == IDC_FTP_FILE_NAME) UpdateUrl();
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct ListEntry {
        std::string name;
        bool folder;
    };

    std::shared_ptr<StepBlock> RunStep(StepKind kind, const std::string& folder = {});
    bool StepSucceeded(const std::shared_ptr<StepBlock>& step) const {
        return !ended_ && !stopped_ && step->hasResult;
    }
    void Start();
    void ChangeFolder(const std::string& name);
    void Refresh();
    void FillList(std::vector<FtpEntry> entries);
    void OpenItem(int index);
    void OnListNotify(const NMHDR& header);
    void UpdateUrl();
    void End(bool ok);
    HWND List() const { return Item(IDC_FTP_LIST); }
    int SelectedItem() const {
        return static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    }
    std::string FileName() const { return WindowTextOf(Item(IDC_FTP_FILE_NAME)); }

    CProgressDlg& window_;
    Options options_;
    std::shared_ptr<FtpLink> link_;
    std::string folder_;  // the server's current folder as it reports it
    std::vector<ListEntry> items_;
    std::string url_;
    bool busy_ = false;  // a step runs: commands wait for it
    bool connected_ = false;
    bool ended_ = false;
    bool stopped_ = false;
    bool accepted_ = false;
};

class DialogWaiter : public WorkerWaiter {
public:
    DialogWaiter(CFtpOpenDlg& dialog, CProgressDlg& window) : dialog_(dialog), window_(window) {}
    bool Pump() override { return dialog_.PumpForStep(); }
    void ShowStatus(const std::string& text) override { dialog_.SetStatus(text); }
    bool IsCancelled() const override { return window_.IsCancelled(); }
    int WaitIncrement() const override { return window_.waitIncrement(); }

private:
    CFtpOpenDlg& dialog_;
    CProgressDlg& window_;
};

// A small image list of the shell's folder and file icons.
HIMAGELIST MakeIcons() {
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    const struct {
        const char* name;
        DWORD attributes;
    } kinds[] = {{"folder", FILE_ATTRIBUTE_DIRECTORY}, {"file.txt", FILE_ATTRIBUTE_NORMAL}};
    for (const auto& kind : kinds) {
        SHFILEINFOA info{};
        SHGetFileInfoA(kind.name, kind.attributes, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
        ImageList_AddIcon(icons, info.hIcon);
        if (info.hIcon) DestroyIcon(info.hIcon);
    }
    return icons;
}

void CFtpOpenDlg::OnInitDialog() {
    if (!options_.caption.empty()) SetWindowTextA(hwnd(), options_.caption.c_str());
    SendMessageA(List(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(MakeIcons()));
    SetDlgItemTextA(hwnd(), IDC_FTP_FILE_NAME, options_.fileName.c_str());
    UpdateUrl();
    CenterInWorkArea(hwnd());
    // The network steps start once the dialog shows and its messages flow.
    PostMessageA(hwnd(), kStartMessage, 0, 0);
}

INT_PTR CFtpOpenDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStartMessage) {
        Start();
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_FTP_LIST) OnListNotify(header);
        return TRUE;
    }
    return FALSE;
}

std::shared_ptr<StepBlock> CFtpOpenDlg::RunStep(StepKind kind, const std::string& folder) {
    auto step = std::make_shared<StepBlock>();
    step->kind = kind;
    step->link = link_;
    step->server = ParseServerText(options_.server);
    step->user = options_.user;
    step->password = options_.password;
    step->passive = options_.passive;
    step->folder = folder;
    busy_ = true;
    int slot = AllocateWorkerSlot();
    if (slot >= 0) {
        DialogWaiter waiter(*this, window_);
        RunWorker(waiter, StepWorker, step, slot);
    }
    busy_ = false;
    return step;
}

void CFtpOpenDlg::Start() {
    SetStatus("Connecting...");
    if (!StepSucceeded(RunStep(StepKind::kConnect))) {
        if (!ended_) SetStatus("Error connecting to " + options_.server);
        return;
    }
    connected_ = true;
    if (!options_.folder.empty()) {
        SetStatus("Setting current folder...");
        if (!StepSucceeded(RunStep(StepKind::kSetFolder, options_.folder))) {
            if (ended_ || stopped_) return;
            SetStatus("Error setting current folder");
        }
    }
    Refresh();
}

void CFtpOpenDlg::ChangeFolder(const std::string& name) {
    SetStatus("Setting current folder...");
    if (!StepSucceeded(RunStep(StepKind::kSetFolder, name))) {
        if (!ended_) SetStatus("Error setting current folder");
        return;
    }
    Refresh();
}

void CFtpOpenDlg::Refresh() {
    auto current = RunStep(StepKind::kGetFolder);
    if (!StepSucceeded(current)) return;
    folder_ = current->stringResult;
    UpdateUrl();
    SetStatus("Retrieving folder contents...");
    auto listing = RunStep(StepKind::kList);
    if (!StepSucceeded(listing)) return;
    FillList(std::move(listing->entries));
    SetStatus("Done");
}

void CFtpOpenDlg::FillList(std::vector<FtpEntry> entries) {
    // Folders first, then files, each group in byte order; ".." leads below the root.
    std::vector<ListEntry> folders, files;
    for (FtpEntry& entry : entries)
        (entry.folder ? folders : files).push_back({std::move(entry.name), entry.folder});
    auto byName = [](const ListEntry& a, const ListEntry& b) { return a.name < b.name; };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    bool root = WithoutLeadingSlash(folder_).empty();
    bool hasParent = std::any_of(folders.begin(), folders.end(),
                                 [](const ListEntry& entry) { return entry.name == ".."; });
    items_.clear();
    if (!root && !hasParent) items_.push_back({"..", true});
    items_.insert(items_.end(), folders.begin(), folders.end());
    items_.insert(items_.end(), files.begin(), files.end());

    SendMessageA(List(), LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(items_[i].name.c_str());
        item.iImage = items_[i].folder ? kFolderImage : kFileImage;
        SendMessageA(List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void CFtpOpenDlg::OnListNotify(const NMHDR& header) {
    if (busy_) return;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        bool selected = (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
        if (selected && change.iItem >= 0 && change.iItem < static_cast<int>(items_.size()) &&
            !items_[change.iItem].folder)
            SetDlgItemTextA(hwnd(), IDC_FTP_FILE_NAME, items_[change.iItem].name.c_str());
    } else if (header.code == NM_DBLCLK) {
        OpenItem(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    }
}

void CFtpOpenDlg::OpenItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    ListEntry item = items_[index];
    if (item.folder) {
        ChangeFolder(item.name);
        return;
    }
    SetDlgItemTextA(hwnd(), IDC_FTP_FILE_NAME, item.name.c_str());
    End(true);
}

void CFtpOpenDlg::OnOK() {
    if (busy_) return;
    // Enter in the list opens the selected entry; otherwise the typed name counts.
    if (GetFocus() == List() && SelectedItem() >= 0) {
        OpenItem(SelectedItem());
        return;
    }
    std::string name = FileName();
    if (name.empty()) return;
    auto folder = std::find_if(items_.begin(), items_.end(), [&](const ListEntry& item) {
        return item.folder && item.name == name;
    });
    if (connected_ && (folder != items_.end() || name == "..")) {
        SetDlgItemTextA(hwnd(), IDC_FTP_FILE_NAME, "");
        ChangeFolder(name);
        return;
    }
    End(true);
}

void CFtpOpenDlg::UpdateUrl() {
    std::string folder = WithoutLeadingSlash(folder_);
    std::string url = options_.server + "/" + folder + (folder.empty() ? "" : "/") +
                      WithoutLeadingSlash(FileName());
    SetDlgItemTextA(hwnd(), IDC_FTP_URL, url.c_str());
}

void CFtpOpenDlg::End(bool ok) {
    if (ok) {
        UpdateUrl();
        url_ = WindowTextOf(Item(IDC_FTP_URL));
    }
    accepted_ = ok;
    ended_ = true;
    ShowWindow(hwnd(), SW_HIDE);
}

}  // namespace

int Builtin_FtpGetOpenFileName(BuiltinCall& call) {
    SetStringResult(call, "");
    CFtpOpenDlg::Options options;
    int32_t flags = 0;
    if (int error = GetStringParam(call, 0, options.server)) return error;
    if (int error = GetStringParam(call, 1, options.user)) return error;
    if (int error = GetStringParam(call, 2, options.password)) return error;
    if (int error = GetOptionalStringParam(call, 3, options.folder)) return error;
    if (int error = GetOptionalStringParam(call, 4, options.fileName)) return error;
    if (int error = GetOptionalIntParam(call, 5, flags)) return error;
    if (int error = GetOptionalStringParam(call, 6, options.caption)) return error;
    options.passive = (flags & kConnectPassive) != 0;

    CProgressDlg& window = ProgressWindow(call.window);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CFtpOpenDlg dialog(window, std::move(options));
    if (!dialog.Create(IDD_FTP_OPEN, window.hwnd())) return kOk;
    ShowWindow(dialog.hwnd(), SW_SHOW);
    while (!dialog.ended() && !dialog.stopped()) {
        if (window.PumpDialogMessages(dialog.hwnd())) break;
        if (dialog.ended() || dialog.stopped()) break;
        Sleep(static_cast<DWORD>(window.waitIncrement()));
    }
    bool stopped = dialog.stopped() || window.IsCancelled() || !dialog.ended();
    dialog.Disconnect();
    dialog.Destroy();
    if (stopped) return kErrCancelled;
    if (dialog.accepted()) SetStringResult(call, dialog.url());
    return kOk;
}
