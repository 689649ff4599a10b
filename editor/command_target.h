// Command routing: a menu, accelerator or toolbar command goes to the active view, its document,
// the active child frame, the main frame, then the application and the targets it was given.
// The first target that knows the command handles it; a command nobody knows is greyed.
#pragma once
#include <string>

// The state of one command's menu item or toolbar button, filled in by whoever handles it.
struct CCmdUI {
    int id = 0;
    bool enabled = true;
    bool checked = false;
};

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // True when the command was handled.
    virtual bool OnCommand(int id) { return false; }
    // True when this target handles `ui.id`; then `ui` tells its state.
    virtual bool OnUpdateCommand(CCmdUI& ui) { return false; }
};
