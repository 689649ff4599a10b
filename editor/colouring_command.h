// View > Syntax Colouring: switches the setting and every open script view with it.
#pragma once
#include "command_target.h"

class CColouringCommand : public CCommandTarget {
public:
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
};

CColouringCommand& ColouringCommand();
