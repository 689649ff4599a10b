// The Help menu: Help Topics, Language Reference and Built-in Function Reference open the help
// pages; F1 with no script open opens the contents.
#pragma once
#include "command_target.h"

class CHelpCommands : public CCommandTarget {
public:
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
};

CHelpCommands& HelpCommands();
