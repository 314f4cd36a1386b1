// Program entry: the application titled "Mirovo" runs its main window.
#include <windows.h>

#include "app/ThumbnailsMain.h"
#include "skin/WinSkinDlg.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace pellix;
    try {
        Application->Initialize();
        Application->SetTitle("Mirovo");
        Application->CreateForm(&ThumbnailsForm);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    Application->Finalize();
    // Once no form is left: the engine's windows, hook and bitmaps go now, not in a global destructor.
    ShutdownSkinEngine();
    return 0;
}
