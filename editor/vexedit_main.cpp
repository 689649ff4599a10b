// vexedit.exe: the Vexa Script editor.
#include <windows.h>

#include "vexedit_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    CVexaScriptApp app;
    return app.Main(showCommand);
}
