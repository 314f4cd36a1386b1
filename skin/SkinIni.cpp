#include "skin/SkinIni.h"

#include <algorithm>
#include <array>
#include <limits>

namespace pellix {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Cut at a character boundary, so that a value never ends in half a UTF-8 sequence.
std::string_view CutValue(std::string_view value) {
    if (value.size() <= TSkinIni::MaxValueLength) return value;
    size_t end = TSkinIni::MaxValueLength;
    while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) --end;
    return value.substr(0, end);
}

}  // namespace

TSkinIni::TSkinIni(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    TKeys* current = nullptr;  // keys before the first section belong to none
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        AddLine(text.substr(at, end - at), current);
        at = end;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
    }
}

void TSkinIni::AddLine(std::string_view rawLine, TKeys*& current) {
    const std::string trimmed = Trim(rawLine);
    const std::string_view line = trimmed;
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
        const std::string name = Trim(line.substr(1, line.find(']') - 1));
        auto [section, added] = sections_.try_emplace(LowerCase(name));
        if (added) sectionNames_.push_back(name);
        current = &section->second;
        return;
    }
    const size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) return;
    const std::string value = Trim(line.substr(equals + 1));
    // The first of repeated keys is the one a lookup finds.
    current->try_emplace(LowerCase(Trim(line.substr(0, equals))), CutValue(value));
}

std::string TSkinIni::ReadString(std::string_view section, std::string_view key) const {
    const auto keys = sections_.find(LowerCase(section));
    if (keys == sections_.end()) return {};
    const auto value = keys->second.find(LowerCase(key));
    return value == keys->second.end() ? std::string() : value->second;
}

int32_t TSkinIni::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    return StrToIntDef(ReadString(section, key), fallback);
}

int32_t ReadColourTriple(std::string_view text) {
    std::array<int64_t, 3> rgb{};
    size_t stored = 0;
    int64_t number = 0;
    bool hasDigits = false;
    // Once a number is too large it swallows every later digit and is never stored.
    const auto fits = [&] { return number <= std::numeric_limits<int32_t>::max(); };
    for (char c : Trim(text)) {
        if (c >= '0' && c <= '9') {
            if (fits()) number = number * 10 + (c - '0');
            hasDigits = true;
        } else if (hasDigits && stored < rgb.size() && fits()) {
            rgb[stored++] = number;
            number = 0;
            hasDigits = false;
        }
    }
    if (hasDigits && stored == 2 && fits()) rgb[2] = number;
    return static_cast<int32_t>((rgb[0] & 0xFF) | (rgb[1] & 0xFF) << 8 | (rgb[2] & 0xFF) << 16);
}

int32_t ColourTextOrDefault(std::string_view text, int32_t fallback) {
    return Trim(text).empty() ? fallback : ReadColourTriple(text);
}

}  // namespace pellix
