// The conformance corpus (tests/scripts) run natively through the real drivers with the fake
// host, so the sanitizer build sees the whole interpreter end to end. A script that calls a
// built-in the portable build lacks (files, registry, dialogs...) is skipped here and runs
// under Wine only, as is one that sets the runner's environment (a code page).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "builtin_table.h"
#include "driver.h"
#include "error_codes.h"
#include "fake_platform.h"
#include "script_result.h"

namespace {

namespace fs = std::filesystem;

const fs::path kScripts = fs::path(VEX_SOURCE_DIR) / "tests" / "scripts";

// One run of a script as its `// case:` and shared directives describe it (run_corpus.py).
struct CorpusCase {
    std::string script;
    std::string name;
    std::vector<std::pair<std::string, std::string>> expect;
    std::vector<std::string> flags;
    std::string call;
    bool hasCall = false;
    std::vector<std::string> args;
    bool setsEnvironment = false;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
    std::size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? "" : text.substr(start);
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::vector<CorpusCase> ParseCases(const std::string& script) {
    CorpusCase shared;
    shared.script = script;
    std::vector<CorpusCase> cases;
    std::istringstream lines(ReadFile(kScripts / script));
    for (std::string line; std::getline(lines, line);) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, 2, "//") != 0) continue;
        std::string rest = Trimmed(line.substr(start + 2));
        std::size_t colon = rest.find(':');
        if (colon == std::string::npos) continue;
        const std::string kind = rest.substr(0, colon);
        const std::string value = Trimmed(rest.substr(colon + 1));
        CorpusCase& target = cases.empty() ? shared : cases.back();
        if (kind == "case") {
            cases.push_back(shared);
            cases.back().name = value;
        } else if (kind == "expect") {
            std::size_t equals = value.find('=');
            target.expect.emplace_back(Trimmed(value.substr(0, equals)),
                                       equals == std::string::npos ? "" : value.substr(equals + 1));
        } else if (kind == "flags") {
            for (const std::string& flag : Words(value)) target.flags.push_back(flag);
        } else if (kind == "call") {
            target.call = value;
            target.hasCall = true;
        } else if (kind == "args") {
            for (const std::string& arg : Words(value)) target.args.push_back(arg);
        } else if (kind == "env") {
            target.setsEnvironment = true;
        }
    }
    if (cases.empty()) cases.push_back(shared);
    return cases;
}

bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}

// The first built-in called in `text` (or an included file) that the portable build lacks.
std::string WindowsOnlyCall(const fs::path& file, int depth = 0) {
    const std::string text = ReadFile(file);
    for (std::size_t i = 0; i < text.size();) {
        if (!IsWordChar(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && IsWordChar(text[end])) ++end;
        const std::string word = text.substr(i, end - i);
        std::size_t next = text.find_first_not_of(" \t", end);
        if (next != std::string::npos && text[next] == '(') {
            const BuiltinEntry* entry = FindBuiltin(word, false);
            if (entry && entry->handler == &BuiltinUnavailable) return word;
        }
        if (word == "include" && depth < 8) {
            std::size_t open = text.find('"', end), close = text.find('"', open + 1);
            if (open != std::string::npos && close != std::string::npos) {
                fs::path included = file.parent_path() / text.substr(open + 1, close - open - 1);
                if (fs::exists(included)) {
                    std::string inner = WindowsOnlyCall(included, depth + 1);
                    if (!inner.empty()) return inner;
                }
            }
        }
        i = end;
    }
    return {};
}

// vexrun's entry call from its arguments: main("one","two") with \ and " escaped.
std::string EntryCall(const CorpusCase& c) {
    if (c.hasCall) return c.call;
    std::string call = "main(";
    for (std::size_t i = 0; i < c.args.size(); ++i) {
        if (i) call += ',';
        call += '"';
        for (char ch : c.args[i]) {
            if (ch == '\\' || ch == '"') call += '\\';
            call += ch;
        }
        call += '"';
    }
    return call + ")";
}

// The error box text on one line, as vexrun /record prints it.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

std::vector<CorpusCase> AllCases() {
    std::vector<std::string> scripts;
    for (const fs::directory_entry& entry : fs::directory_iterator(kScripts))
        if (entry.path().extension() == ".vxs") scripts.push_back(entry.path().filename().string());
    std::sort(scripts.begin(), scripts.end());
    std::vector<CorpusCase> all;
    for (const std::string& script : scripts) {
        for (CorpusCase& c : ParseCases(script))
            if (!c.expect.empty()) all.push_back(std::move(c));
    }
    return all;
}

class CorpusTest : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusTest, RecordMatchesTheScriptsExpectations) {
    const CorpusCase& c = GetParam();
    if (c.setsEnvironment) GTEST_SKIP() << "sets the runner's environment";
    const std::string windowsOnly = WindowsOnlyCall(kScripts / c.script);
    if (!windowsOnly.empty()) GTEST_SKIP() << "calls " << windowsOnly;

    int strict = 0;
    bool compileOnly = false;
    for (const std::string& flag : c.flags) {
        if (flag == "/s") strict = 1;
        if (flag == "/compile") compileOnly = true;
    }
    FakePlatform platform;
    platform.largeScriptStack = true;  // 1002 nested calls, as on the Windows host's fiber
    ScriptResult record{};
    record.line = -1;
    const fs::path before = fs::current_path();
    fs::current_path(kScripts);  // vexrun runs each script from its folder by its bare name
    const std::string call = EntryCall(c);
    const int result =
        compileOnly
            ? TestCompileScriptFile(platform, nullptr, c.script.c_str(), strict, record)
            : RunScriptFile(platform, nullptr, c.script.c_str(), call.c_str(), strict, record);
    fs::current_path(before);

    const std::string fields[][2] = {
        {"result", std::to_string(result)},
        {"file", std::string(record.file, strnlen(record.file, sizeof record.file))},
        {"line", std::to_string(record.line)},
        {"param", std::to_string(record.param)},
        {"name", std::string(record.name, strnlen(record.name, sizeof record.name))},
        {"call", std::string(record.call, strnlen(record.call, sizeof record.call))},
        {"message", platform.errorBoxes.empty() ? "" : OneLine(platform.errorBoxes.back())},
    };
    for (const auto& [key, expected] : c.expect) {
        const bool contains = !key.empty() && key.back() == '~';
        const std::string field = contains ? key.substr(0, key.size() - 1) : key;
        const auto* found = std::find_if(std::begin(fields), std::end(fields),
                                         [&](const std::string(&f)[2]) { return f[0] == field; });
        ASSERT_NE(found, std::end(fields)) << "unknown field " << field;
        if (contains)
            EXPECT_NE((*found)[1].find(expected), std::string::npos)
                << field << " lacks \"" << expected << "\"";
        else
            EXPECT_EQ((*found)[1], expected) << field;
    }
}

std::string CaseName(const ::testing::TestParamInfo<CorpusCase>& info) {
    std::string name = info.param.script.substr(0, info.param.script.size() - 4) + "_" +
                       std::to_string(info.index);
    for (char& c : name)
        if (!IsWordChar(c) || c == '$') c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, CorpusTest, ::testing::ValuesIn(AllCases()), CaseName);

}  // namespace
