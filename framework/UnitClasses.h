// Each framework unit with classes that form descriptions name registers
// them in a function of its own; the loader calls them all once.
#pragma once

namespace pellix {

void RegisterUnitClasses();

}  // namespace pellix
