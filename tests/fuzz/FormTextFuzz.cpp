// Any bytes must give a tree or a FormTextError, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/FormText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        pellix::ParseFormText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    } catch (const pellix::FormTextError&) {
        // Refusing malformed text is the expected outcome.
    }
    return 0;
}
