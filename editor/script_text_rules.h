// The editing rules of a script line that do not depend on the edit control: indentation,
// outdent, the status-bar column and the word that F1 looks up.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

constexpr int kTabColumns = 4;           // columns per tab for the indicator and outdent
constexpr size_t kLineBufferSize = 512;  // Tab, Enter and F1 look at this much of a line

// The run of blanks and tabs at the start of `line`.
std::string_view LeadingIndent(std::string_view line);
// How many characters one Shift+Tab removes from the start of `line`: up to four blanks plus
// the tab that follows fewer than four, or one leading tab.
size_t OutdentLength(std::string_view line);
// The 0-based column of the caret standing before `line[caret]`, tabs reaching the next
// multiple of four.
int CaretColumn(std::string_view line, size_t caret);
// The word F1 looks up on `line` for the selection [start, end) inside it: the identifier
// around the caret when the selection is empty, else the selected text; blanks trimmed.
std::string HelpWordAt(std::string_view line, size_t start, size_t end);
bool IsHelpWordChar(char c);
// Names compare without letter case unless a script is strict; the editor's tables key on this.
std::string AsciiLower(std::string_view text);
