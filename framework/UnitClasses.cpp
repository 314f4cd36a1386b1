#include "framework/UnitClasses.h"

#include "framework/ActnList.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/FileCtrl.h"
#include "framework/Menus.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"

namespace pellix {

// One line per unit, ancestors' units first.
void RegisterUnitClasses() {
    RegisterStdCtrlsClasses();
    RegisterExtCtrlsClasses();
    RegisterButtonsClasses();
    RegisterSpinClasses();
    RegisterFileCtrlClasses();
    RegisterComCtrlsClasses();
    RegisterMenusClasses();
    RegisterActnListClasses();
    RegisterDialogsClasses();
}

}  // namespace pellix
