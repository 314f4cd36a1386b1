#include "app/ThumbnailsMain.h"

#include "framework/FormLoader.h"

namespace pellix {

TThumbnailsForm* ThumbnailsForm = nullptr;

TThumbnailsForm::TThumbnailsForm(TComponent* owner) : TForm(owner) {
    RegisterClassInfo("TThumbnailsForm", "TForm");
}

}  // namespace pellix
