// The About box (dialog 100): the product name in bold Arial as tall as its control, and
// "Version " with the version text of the program's version resource.
#pragma once
#include <string>

#include "dialog_base.h"

class CAboutDlg : public CModalDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    void OnInitDialog() override;

private:
    HFONT productFont_ = nullptr;
};

// The version text of this program ("1.63", "1.63 Beta 2"); empty when it has no version resource.
std::string ProgramVersionText();
