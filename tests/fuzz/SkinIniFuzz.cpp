// Any bytes must read as a settings text whose lookups keep the reading rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/SkinIni.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Looks up every key spelt in the text in every section, as the skin parse does.
void CheckLookups(const pellix::TSkinIni& ini, std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = pellix::Trim(line.substr(0, equals));
        for (const std::string& section : ini.SectionNames()) {
            const std::string value = ini.ReadString(section, key);
            if (value.size() > pellix::TSkinIni::MaxValueLength) std::abort();
            if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) std::abort();
            int32_t number = 0;
            const bool isNumber = pellix::TryStrToInt(value, number);
            if (ini.ReadInteger(section, key, 12345) != (isNumber ? number : 12345)) std::abort();
            pellix::ColourTextOrDefault(value, -1);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const pellix::TSkinIni ini(text);
    for (size_t i = 0; i < ini.SectionNames().size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (pellix::SameText(ini.SectionNames()[i], ini.SectionNames()[j])) std::abort();
    CheckLookups(ini, text);
    pellix::ReadColourTriple(text);
    return 0;
}
