// The main window of the program.
#pragma once

#include "framework/Forms.h"

namespace pellix {

class TThumbnailsForm : public TForm {
public:
    explicit TThumbnailsForm(TComponent* owner);
    std::string ClassName() const override { return "TThumbnailsForm"; }
};

extern TThumbnailsForm* ThumbnailsForm;

}  // namespace pellix
