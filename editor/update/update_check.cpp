// The update check. Documents are fetched with WinINet on a short-lived worker thread and
// handed back to the editor's thread through a message-only window, so the editor stays usable.
#include "update_check.h"

#include <wininet.h>

#include <ctime>
#include <memory>
#include <thread>

#include "editor_message.h"
#include "program_launch.h"
#include "tool_settings.h"
#include "win_handles.h"

namespace {

constexpr char kDefaultUpdateLocation[] = "http://www.vexascript.com/update/";
constexpr UINT kDocumentMessage = WM_APP + 1;
constexpr char kMessageClass[] = "VexaUpdateCheck";

// The value of `key` where it starts the document or a line; `toEnd` takes the rest of the
// document, otherwise the value runs to the next carriage return and line feed, which `needEnd`
// requires (a bare line feed ends no value).
bool FindKey(const std::string& text, const char* key, bool toEnd, bool needEnd,
             std::string& value) {
    const std::string k = key;
    for (size_t at = 0; (at = text.find(k, at)) != std::string::npos; at += k.size()) {
        if (at > 0 && text[at - 1] != '\n') continue;
        size_t start = at + k.size();
        if (toEnd) {
            value = text.substr(start);
            return true;
        }
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            if (needEnd) return false;
            end = text.size();
        }
        value = text.substr(start, end - start);
        return true;
    }
    return false;
}

struct FetchedDocument {
    std::string address;
    bool ok = false;
    std::string text;
};

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using UniqueInternet = UniqueHandle<HINTERNET, InternetHandleTraits>;

// Runs on the worker thread: the document at `address`, if the server gave one (status 200).
void Download(FetchedDocument& result) {
    UniqueInternet session(
        InternetOpenA("Vexa Script", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return;
    UniqueInternet request(InternetOpenUrlA(
        session.get(), result.address.c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
    if (!request) return;
    DWORD status = 0, size = sizeof status;
    if (HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                       &size, nullptr) &&
        status != 200)
        return;
    char buffer[4096];
    DWORD read = 0;
    while (InternetReadFile(request.get(), buffer, sizeof buffer, &read) && read > 0) {
        result.text.append(buffer, read);
        if (result.text.size() > (1u << 20)) return;  // no update notice is this long
    }
    result.ok = true;
}

// The system's connection state, bound at run time: a missing library means offline.
bool ConnectedToInternet() {
    UniqueLibrary wininet(LoadLibraryA("wininet.dll"));
    if (!wininet) return false;
    using GetConnectedState = BOOL(WINAPI*)(LPDWORD, DWORD);
    auto query = reinterpret_cast<GetConnectedState>(
        GetProcAddress(wininet.get(), "InternetGetConnectedState"));
    DWORD flags = 0;
    return query && query(&flags, 0);
}

}  // namespace

UpdateDocument ParseUpdateDocument(const std::string& document) {
    UpdateDocument parsed;
    FindKey(document, "file=", false, false, parsed.redirect);
    parsed.hasUrl = FindKey(document, "url=", false, true, parsed.url);
    parsed.hasText = FindKey(document, "text=", true, false, parsed.text);
    return parsed;
}

std::string UpdateDocumentName(const std::string& version) {
    std::string name = "Vexa Script" + version;
    for (char& c : name)
        if (c == ' ' || c == '.') c = '_';
    return name;
}

std::string UpdateDocumentAddress(ToolSettings& settings, const std::string& version) {
    return settings.ReadString("UpdateLocation", kDefaultUpdateLocation) +
           UpdateDocumentName(version) + ".txt";
}

std::string TodayText() {
    std::time_t now = std::time(nullptr);
    char text[64] = {};
    std::strftime(text, sizeof text, "%x", std::localtime(&now));
    return text;
}

CUpdateCheck::CUpdateCheck(ToolSettings& settings, std::string version)
    : settings_(settings), version_(std::move(version)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MessageProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kMessageClass;
    RegisterClassA(&wc);  // a second check in one process finds the class registered
    messageWindow_ = CreateWindowExA(0, kMessageClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     wc.hInstance, nullptr);
    SetWindowLongPtrA(messageWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CUpdateCheck::~CUpdateCheck() {
    // A worker still fetching posts to a window that is gone and frees its own result.
    if (messageWindow_) DestroyWindow(messageWindow_);
}

void CUpdateCheck::OnMainWindowSize(HWND mainWindow, UINT sizeType) {
    if (sizeSeen_ || (sizeType != SIZE_RESTORED && sizeType != SIZE_MAXIMIZED)) return;
    sizeSeen_ = true;
    Start(mainWindow);
}

bool CUpdateCheck::Start(HWND mainWindow) {
    mainWindow_ = mainWindow;
    std::string today = TodayText();
    if (settings_.ReadString("LastCheckForUpdate", "") == today ||
        settings_.ReadString("DontShowUpdate", "") == version_)
        return false;
    if (!messageWindow_ || !ConnectedToInternet()) return false;
    Fetch(UpdateDocumentAddress(settings_, version_));
    return true;
}

void CUpdateCheck::Fetch(const std::string& address) {
    ++pending_;
    auto result = std::make_unique<FetchedDocument>();
    result->address = address;
    HWND target = messageWindow_;
    std::thread([target, result = std::move(result)]() mutable {
        Download(*result);
        FetchedDocument* raw = result.release();
        if (!PostMessageA(target, kDocumentMessage, 0, reinterpret_cast<LPARAM>(raw))) delete raw;
    }).detach();
}

LRESULT CALLBACK CUpdateCheck::MessageProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message != kDocumentMessage) return DefWindowProcA(window, message, wParam, lParam);
    std::unique_ptr<FetchedDocument> result(reinterpret_cast<FetchedDocument*>(lParam));
    auto* self = reinterpret_cast<CUpdateCheck*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) {
        self->Received(result->address, result->ok, result->text);
        --self->pending_;
    }
    return 0;
}

void CUpdateCheck::Received(const std::string& address, bool ok, const std::string& document) {
    // A failed fetch leaves the date alone, so the next start tries again.
    if (!ok || address.find(".txt") == std::string::npos) return;
    settings_.WriteString("LastCheckForUpdate", TodayText());
    UpdateDocument parsed = ParseUpdateDocument(document);
    if (!parsed.redirect.empty()) {
        Fetch(parsed.redirect);
        return;
    }
    if (parsed.hasText && parsed.hasUrl) ShowNotice(parsed);
}

void CUpdateCheck::ShowNotice(const UpdateDocument& document) {
    int answer = EditorMessageBox(mainWindow_,
                                  document.text +
                                      "\n\nDo you want to download the update now?\n\nChoose "
                                      "Cancel to not show this message again.",
                                  MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) LaunchProgram(document.url);
    if (answer == IDCANCEL) settings_.WriteString("DontShowUpdate", version_);
}
