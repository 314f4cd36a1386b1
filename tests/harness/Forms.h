// Forms and other components a test holds alone, freed the way the framework
// frees them so that their windows and owned components go too.
#pragma once

#include "framework/Classes.h"

namespace pellix::test {

struct FormFree {
    void operator()(TComponent* c) const { TComponent::Free(c); }
};

}  // namespace pellix::test
