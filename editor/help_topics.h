// The help pages shipped beside the editor (docs\index.html, language.html, functions.html) and
// the topic F1 opens for a word: a built-in function, a keyword or type, or a constant.
#pragma once
#include <string>

struct HelpTopic {
    std::string page;    // file name inside the help folder
    std::string anchor;  // empty: the top of the page
};

// The help's context numbers of the commands: this base plus the command's identifier.
constexpr unsigned kCommandHelpBase = 0x10000;

HelpTopic ContentsTopic();
// The topic the help maps a context number to: 98309 the language reference, 98320 the
// built-in function reference; the contents for any other number.
HelpTopic TopicForContext(unsigned context);
// The topic of `word` (any letter case); the contents when the help knows no such word.
HelpTopic TopicForWord(const std::string& word);

// "file:///C:/.../docs/functions.html#strlen" for the help folder beside the running program.
std::string HelpUrl(const HelpTopic& topic);
// Opens the topic in the user's browser at its anchor; false when nothing could be started.
bool OpenHelpTopic(const HelpTopic& topic);
