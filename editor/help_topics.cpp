#include <windows.h>

#include "help_topics.h"

#include <shellapi.h>

#include <algorithm>
#include <map>

#include "builtin_names.h"
#include "constant_names.h"
#include "resource.h"
#include "script_text_rules.h"

namespace {

constexpr char kContentsPage[] = "index.html";
constexpr char kLanguagePage[] = "language.html";
constexpr char kFunctionsPage[] = "functions.html";

// Every word the help has a topic for, by its lower-case spelling; the anchors are spelt as the
// pages spell them.
const std::map<std::string, HelpTopic>& KnownWords() {
    static const std::map<std::string, HelpTopic> words = [] {
        std::map<std::string, HelpTopic> known;
#define VEX_HELP_BUILTIN(name, family) known[AsciiLower(#name)] = {kFunctionsPage, #name};
        VEX_BUILTIN_LIST(VEX_HELP_BUILTIN)
#undef VEX_HELP_BUILTIN
#define VEX_HELP_CONSTANT(name, value) known[AsciiLower(#name)] = {kLanguagePage, #name};
        VEX_INTEGER_CONSTANT_LIST(VEX_HELP_CONSTANT)
        VEX_ROOT_KEY_LIST(VEX_HELP_CONSTANT)
#undef VEX_HELP_CONSTANT
        for (const char* anchor :
             {"int", "string", "void", "HKEY", "HFILE", "HBROWSER", "if", "else", "while", "repeat",
              "break", "return", "exit", "main", "NULL"})
            known[AsciiLower(anchor)] = {kLanguagePage, anchor};
        known["#include"] = known["include"] = {kLanguagePage, "include"};
        known["#strict"] = known["strict"] = {kLanguagePage, "strict"};
        return known;
    }();
    return words;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace

HelpTopic ContentsTopic() { return {kContentsPage, ""}; }
HelpTopic TopicForContext(unsigned context) {
    switch (context) {
    case kCommandHelpBase + ID_HELP_LANGUAGE_REFERENCE: return {kLanguagePage, ""};     // 98309
    case kCommandHelpBase + ID_HELP_FUNCTION_REFERENCE: return {kFunctionsPage, ""};  // 98320
    default: return ContentsTopic();
    }
}

HelpTopic TopicForWord(const std::string& word) {
    const auto& known = KnownWords();
    auto found = known.find(AsciiLower(word));
    return found == known.end() ? ContentsTopic() : found->second;
}

std::string HelpUrl(const HelpTopic& topic) {
    std::string path = ProgramFolder() + "docs\\" + topic.page;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::string url = "file:///";
    for (char c : path) url += c == ' ' ? std::string("%20") : std::string(1, c);
    return topic.anchor.empty() ? url : url + "#" + topic.anchor;
}

bool OpenHelpTopic(const HelpTopic& topic) {
    const std::string page = ProgramFolder() + "docs\\" + topic.page;
    // Opening the page file itself would lose the anchor, so the page's browser is started
    // with the whole address when the system names one.
    char browser[MAX_PATH] = {};
    if (reinterpret_cast<INT_PTR>(FindExecutableA(page.c_str(), nullptr, browser)) > 32) {
        const std::string argument = "\"" + HelpUrl(topic) + "\"";
        if (reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", browser, argument.c_str(),
                                                    nullptr, SW_SHOWNORMAL)) > 32)
            return true;
    }
    return reinterpret_cast<INT_PTR>(
               ShellExecuteA(nullptr, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}
