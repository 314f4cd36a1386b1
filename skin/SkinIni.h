// The settings text of a skin archive, read from memory with the rules of a
// Windows profile file, and the colour texts it holds. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/SysUtils.h"

namespace pellix {

// Read from memory rather than through the system's profile functions: those
// strip quotes and do not read "$1F" under Wine.
class TSkinIni : public TObject {
public:
    // A longer value is cut, as the profile functions' buffer would.
    static constexpr size_t MaxValueLength = 2047;

    explicit TSkinIni(std::string_view text);
    std::string ClassName() const override { return "TSkinIni"; }

    // Empty when the section or key is missing. Names compare without case.
    std::string ReadString(std::string_view section, std::string_view key) const;
    // Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X";
    // fallback when the key is missing or its value is not such a number.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // As spelt at their first appearance, in file order; a repeated section
    // continues the first one.
    const std::vector<std::string>& SectionNames() const { return sectionNames_; }

private:
    using TKeys = std::unordered_map<std::string, std::string>;  // lower-cased key -> value

    void AddLine(std::string_view line, TKeys*& current);

    std::vector<std::string> sectionNames_;
    std::unordered_map<std::string, TKeys> sections_;  // by lower-cased name
};

// The RGB value of a text holding red, green and blue as decimal numbers
// separated by anything ("0 128 255", "r0 g128 b255"); missing parts are 0.
int32_t ReadColourTriple(std::string_view text);
// A colour key's value: fallback when the text is empty.
int32_t ColourTextOrDefault(std::string_view text, int32_t fallback);

}  // namespace pellix
