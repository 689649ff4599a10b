#include "colouring_command.h"

#include "doc_template.h"
#include "document.h"
#include "resource.h"
#include "script_view.h"
#include "syntax_colouring.h"
#include "vexedit_app.h"

bool CColouringCommand::OnCommand(int id) {
    if (id != ID_VIEW_SYNTAX_COLOURING) return false;
    CProfile& profile = TheApp().Profile();
    const bool on = settings::Get(profile, syntax_colouring::kSetting) == 0;
    settings::Set(profile, syntax_colouring::kSetting, on ? 1 : 0);
    for (const auto& document : TheApp().DocTemplate().Documents())
        for (CView* view : document->Views())
            if (auto* script = dynamic_cast<CVexaScriptView*>(view)) script->SetColouring(on);
    return true;
}

bool CColouringCommand::OnUpdateCommand(CCmdUI& ui) {
    if (ui.id != ID_VIEW_SYNTAX_COLOURING) return false;
    ui.checked = settings::Get(TheApp().Profile(), syntax_colouring::kSetting) != 0;
    return true;
}

CColouringCommand& ColouringCommand() {
    static CColouringCommand command;
    return command;
}
