#include "framework/SysUtils.h"

#include <cctype>
#include <limits>

namespace pellix {

namespace {

int DigitValue(char c, int base) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else return -1;
    return v < base ? v : -1;
}

// Decimal text with an optional fraction and exponent, blanks around it;
// nonZero tells whether any digit before the exponent is other than 0.
bool ReadDecimal(std::string_view text, bool& nonZero) {
    std::string t = Trim(text);
    size_t i = 0, digits = 0;
    nonZero = false;
    auto sign = [&] {
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    };
    auto run = [&](bool mantissa) {
        size_t start = i;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            if (mantissa && t[i] != '0') nonZero = true;
        return i - start;
    };
    sign();
    digits += run(true);
    if (i < t.size() && t[i] == '.') {
        ++i;
        digits += run(true);
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        sign();
        if (run(false) == 0) return false;
    }
    return i == t.size();
}

}  // namespace

bool TryStrToInt(const std::string& text, int32_t& value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    int64_t acc = 0;
    // Hexadecimal text may spell any 32-bit pattern; decimal must fit the signed range.
    const int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    for (; i < text.size(); ++i) {
        int d = DigitValue(text[i], base);
        if (d < 0) return false;
        acc = acc * base + d;
        if (acc > limit) return false;
    }
    uint32_t bits = static_cast<uint32_t>(acc);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
}

int32_t StrToInt(const std::string& text) {
    int32_t v;
    if (!TryStrToInt(text, v)) throw EConvertError(FormatMessage1("'%s' is not a valid integer value", text));
    return v;
}

int32_t StrToIntDef(const std::string& text, int32_t fallback) {
    int32_t v;
    return TryStrToInt(text, v) ? v : fallback;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

bool TryStrToBool(const std::string& text, bool& value) {
    int32_t number;
    bool nonZero;
    if (TryStrToInt(text, number)) {
        value = number != 0;
    } else if (ReadDecimal(text, nonZero)) {
        value = nonZero;
    } else if (SameText(text, "True")) {
        value = true;
    } else if (SameText(text, "False")) {
        value = false;
    } else {
        return false;
    }
    return true;
}

bool StrToBool(const std::string& text) {
    bool value;
    if (!TryStrToBool(text, value)) throw EConvertError(FormatMessage1("'%s' is not a valid boolean value", text));
    return value;
}

std::string FormatMessage1(std::string_view pattern, std::string_view arg) {
    std::string out;
    size_t at = pattern.find("%s");
    if (at == std::string_view::npos) return std::string(pattern);
    out.append(pattern.substr(0, at));
    out.append(arg);
    out.append(pattern.substr(at + 2));
    return out;
}

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    return LowerCase(a) == LowerCase(b);
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string StringReplaceAll(std::string s, std::string_view from, std::string_view to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
    return s;
}

}  // namespace pellix
