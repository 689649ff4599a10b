#include "help_commands.h"

#include "help_topics.h"
#include "resource.h"

bool CHelpCommands::OnCommand(int id) {
    switch (id) {
    case ID_HELP:
    case ID_CONTEXT_HELP:  // Shift+F1: the help pages have no click-for-help mode, so contents
    case ID_HELP_FINDER: OpenHelpTopic(ContentsTopic()); return true;
    // The two references open by their context numbers, as the help's map numbers them.
    case ID_HELP_LANGUAGE_REFERENCE:
    case ID_HELP_FUNCTION_REFERENCE:
        OpenHelpTopic(TopicForContext(kCommandHelpBase + id));
        return true;
    default: return false;
    }
}

bool CHelpCommands::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.id) {
    case ID_HELP:
    case ID_CONTEXT_HELP:
    case ID_HELP_FINDER:
    case ID_HELP_LANGUAGE_REFERENCE:
    case ID_HELP_FUNCTION_REFERENCE: return true;
    default: return false;
    }
}

CHelpCommands& HelpCommands() {
    static CHelpCommands commands;
    return commands;
}
