// SendMailMapi: one message through Simple MAPI, bound by name for the one call.
#include <windows.h>
#include <mapi.h>

#include <string>
#include <vector>

#include "builtin_api.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "text_codepage.h"
#include "win_handles.h"

namespace {

constexpr std::size_t kMaxSubject = 255;

using FreeBuffer = ULONG(WINAPI*)(LPVOID);

// The mail interface for one call. Every entry point it lacks answers "not supported".
class MailApi {
public:
    MailApi()
        : library_(LoadLibraryA("mapi32.dll")),
          send_(BindFunction<LPMAPISENDMAIL>(library_, "MAPISendMail")),
          resolve_(BindFunction<LPMAPIRESOLVENAME>(library_, "MAPIResolveName")),
          free_(BindFunction<FreeBuffer>(library_, "MAPIFreeBuffer")) {}
    ~MailApi() {
        for (MapiRecipDesc* resolved : resolved_)
            if (free_) free_(resolved);
    }
    MailApi(const MailApi&) = delete;
    MailApi& operator=(const MailApi&) = delete;

    // Resolves `name` into a recipient of `recipientClass`; kept until this object ends.
    ULONG Resolve(const std::string& name, ULONG recipientClass,
                  std::vector<MapiRecipDesc>& recipients) {
        if (!resolve_) return MAPI_E_NOT_SUPPORTED;
        MapiRecipDesc* resolved = nullptr;
        ULONG code = resolve_(0, 0, const_cast<LPSTR>(name.c_str()), 0, 0, &resolved);
        if (resolved) resolved_.push_back(resolved);
        if (code != SUCCESS_SUCCESS) return code;
        MapiRecipDesc recipient{};
        recipient.ulRecipClass = recipientClass;
        recipient.lpszName = resolved->lpszName;
        recipient.lpszAddress = resolved->lpszAddress;
        recipient.ulEIDSize = resolved->ulEIDSize;
        recipient.lpEntryID = resolved->lpEntryID;
        recipients.push_back(recipient);
        return SUCCESS_SUCCESS;
    }

    ULONG Send(HWND parent, MapiMessage& message, ULONG flags) {
        if (!send_) return MAPI_E_NOT_SUPPORTED;
        return send_(0, reinterpret_cast<ULONG_PTR>(parent), &message, flags, 0);
    }

private:
    UniqueLibrary library_;
    LPMAPISENDMAIL send_;
    LPMAPIRESOLVENAME resolve_;
    FreeBuffer free_;
    std::vector<MapiRecipDesc*> resolved_;
};

// Splits at `separator`, skipping empty pieces; nothing is trimmed.
std::vector<std::string> SplitNonEmpty(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(separator, begin);
        if (end == std::string::npos) end = text.size();
        if (end > begin) pieces.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return pieces;
}

// The first `limit` bytes, shortened by one when that would split a double-byte character.
std::string CutAtCharacter(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = 0;
    while (end < limit && end + CharLengthAt(text, end) <= limit) end += CharLengthAt(text, end);
    return text.substr(0, end);
}

}  // namespace

int Builtin_SendMailMapi(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string to, cc, bcc, subject, body, attachments;
    int32_t flags = 0;
    if (int error = GetStringParam(call, 0, to)) return error;
    if (int error = GetStringParam(call, 1, cc)) return error;
    if (int error = GetStringParam(call, 2, bcc)) return error;
    if (int error = GetStringParam(call, 3, subject)) return error;
    if (int error = GetStringParam(call, 4, body)) return error;
    if (int error = GetOptionalStringParam(call, 5, attachments)) return error;
    if (int error = GetOptionalIntParam(call, 6, flags)) return error;
    StatusLine status(call.window, "Sending mail using MAPI...");

    MailApi mail;
    std::vector<MapiRecipDesc> recipients;
    const std::pair<const std::string*, ULONG> lists[] = {
        {&to, MAPI_TO}, {&cc, MAPI_CC}, {&bcc, MAPI_BCC}};
    for (const auto& [list, recipientClass] : lists) {
        for (const std::string& name : SplitNonEmpty(*list, ';')) {
            ULONG code = mail.Resolve(name, recipientClass, recipients);
            if (code != SUCCESS_SUCCESS) {
                SetIntResult(call, static_cast<int32_t>(code));
                return kOk;
            }
        }
    }
    if (recipients.empty()) {
        SetIntResult(call, MAPI_E_UNKNOWN_RECIPIENT);
        return kOk;
    }

    std::vector<std::string> paths = SplitNonEmpty(attachments, '\n');
    std::vector<MapiFileDesc> files(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        files[i].nPosition = static_cast<ULONG>(-1);
        files[i].lpszPathName = paths[i].data();
    }
    std::string shortSubject = CutAtCharacter(subject, kMaxSubject);
    MapiMessage message{};
    message.lpszSubject = shortSubject.data();
    message.lpszNoteText = body.data();
    message.nRecipCount = static_cast<ULONG>(recipients.size());
    message.lpRecips = recipients.data();
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();
    ULONG code = mail.Send(ProgressWindow(call.window).hwnd(), message, static_cast<ULONG>(flags));
    SetIntResult(call, static_cast<int32_t>(code));
    return kOk;
}
