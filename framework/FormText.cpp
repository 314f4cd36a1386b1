#include "framework/FormText.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace pellix {

namespace {

// Deep enough for any real form; keeps hostile input from exhausting the stack.
constexpr int kMaxDepth = 64;

std::string Located(std::string_view source, int line, std::string_view message) {
    std::string s(source);
    s += "(" + std::to_string(line) + "): ";
    s += message;
    return s;
}

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    return (std::tolower(static_cast<unsigned char>(c)) - 'a') + 10;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

enum class Tok { End, Ident, Integer, Float, String, Symbol };

struct Token {
    Tok kind = Tok::End;
    int line = 1;
    std::string text;   // identifier, string value, symbol
    int64_t integer = 0;
    double number = 0;
};

class Parser {
public:
    Parser(std::string_view text, std::string_view source) : text_(text), source_(source) { Next(); }

    FormObject ParseTop() {
        FormObject obj = ParseObject(0);
        if (tok_.kind != Tok::End) Fail(tok_.line, "text after the final 'end'");
        return obj;
    }

private:
    [[noreturn]] void Fail(int line, std::string_view message) const {
        throw FormTextError(source_, line, message);
    }

    bool IsSymbol(char c) const { return tok_.kind == Tok::Symbol && tok_.text[0] == c; }
    bool IsWord(std::string_view w) const {
        if (tok_.kind != Tok::Ident || tok_.text.size() != w.size()) return false;
        for (size_t i = 0; i < w.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(tok_.text[i])) != w[i]) return false;
        return true;
    }

    void Expect(char c) {
        if (!IsSymbol(c)) Fail(tok_.line, std::string("expected '") + c + "'");
        Next();
    }

    std::string ExpectIdent(std::string_view what) {
        if (tok_.kind != Tok::Ident) Fail(tok_.line, std::string("expected ") + std::string(what));
        std::string s = tok_.text;
        Next();
        return s;
    }

    void SkipBlanksAndComments() {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    void LexNumber(Token& t) {
        size_t start = pos_;
        if (text_[pos_] == '-' || text_[pos_] == '+') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '$') {
            ++pos_;
            size_t digits = pos_;
            uint64_t v = 0;
            while (pos_ < text_.size() && IsHexDigit(text_[pos_])) {
                if (pos_ - digits >= 16) Fail(line_, "hexadecimal number too long");
                v = v * 16 + static_cast<uint64_t>(HexValue(text_[pos_++]));
            }
            if (pos_ == digits) Fail(line_, "'$' without hexadecimal digits");
            t.kind = Tok::Integer;
            t.integer = static_cast<int64_t>(v);
            if (text_[start] == '-') t.integer = -t.integer;
            return;
        }
        size_t digits = pos_;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        if (pos_ == digits) Fail(line_, "sign without a number");
        bool isFloat = false;
        if (pos_ + 1 < text_.size() && text_[pos_] == '.' && std::isdigit(static_cast<unsigned char>(text_[pos_ + 1]))) {
            isFloat = true;
            ++pos_;
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        }
        std::string_view body = text_.substr(start, pos_ - start);
        if (isFloat) {
            t.kind = Tok::Float;
            t.number = std::strtod(std::string(body).c_str(), nullptr);
            return;
        }
        t.kind = Tok::Integer;
        std::string_view parse = body[0] == '+' ? body.substr(1) : body;
        auto [ptr, ec] = std::from_chars(parse.data(), parse.data() + parse.size(), t.integer);
        if (ec != std::errc() || ptr != parse.data() + parse.size()) Fail(line_, "integer out of range");
    }

    // Quoted parts ('it''s') and character codes (#13) glued together.
    void LexString(Token& t) {
        t.kind = Tok::String;
        while (pos_ < text_.size()) {
            if (text_[pos_] == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= text_.size() || text_[pos_] == '\n') Fail(line_, "unterminated string");
                    char c = text_[pos_++];
                    if (c == '\'') {
                        if (pos_ < text_.size() && text_[pos_] == '\'') {
                            t.text += '\'';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    t.text += c;
                }
            } else if (text_[pos_] == '#') {
                ++pos_;
                uint32_t cp = 0;
                size_t digits = pos_;
                while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                    cp = cp * 10 + static_cast<uint32_t>(text_[pos_++] - '0');
                    if (cp > 0x10FFFF) Fail(line_, "character code out of range");
                }
                if (pos_ == digits) Fail(line_, "'#' without a character code");
                AppendUtf8(t.text, cp);
            } else {
                break;
            }
        }
    }

    void Next() {
        SkipBlanksAndComments();
        Token t;
        t.line = line_;
        if (pos_ >= text_.size()) {
            tok_ = t;
            return;
        }
        char c = text_[pos_];
        if (IsIdentStart(c)) {
            size_t start = pos_;
            while (pos_ < text_.size() && (IsIdentChar(text_[pos_]) ||
                   (text_[pos_] == '.' && pos_ + 1 < text_.size() && IsIdentStart(text_[pos_ + 1]))))
                ++pos_;
            t.kind = Tok::Ident;
            t.text = std::string(text_.substr(start, pos_ - start));
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' ||
                   ((c == '-' || c == '+') && pos_ + 1 < text_.size() &&
                    (std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])) || text_[pos_ + 1] == '$'))) {
            LexNumber(t);
        } else if (c == '\'' || c == '#') {
            LexString(t);
        } else if (std::string_view("=:[](){}<>,+@").find(c) != std::string_view::npos) {
            t.kind = Tok::Symbol;
            t.text = std::string(1, c);
            ++pos_;
        } else {
            Fail(line_, std::string("unexpected character '") + c + "'");
        }
        tok_ = t;
    }

    // Hex pairs up to the closing brace; blanks and line breaks between them.
    std::vector<uint8_t> LexBinaryBody() {
        std::vector<uint8_t> bytes;
        int high = -1;
        for (;;) {
            if (pos_ >= text_.size()) Fail(line_, "unterminated binary value");
            char c = text_[pos_++];
            if (c == '}') break;
            if (c == '\n') {
                ++line_;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r') continue;
            if (!IsHexDigit(c)) Fail(line_, "binary value holds a character that is not hexadecimal");
            if (high < 0) {
                high = HexValue(c);
            } else {
                bytes.push_back(static_cast<uint8_t>(high * 16 + HexValue(c)));
                high = -1;
            }
        }
        if (high >= 0) Fail(line_, "binary value has an odd number of digits");
        return bytes;
    }

    // A string, possibly continued with '+' on the next lines.
    std::string StringWithContinuations() {
        std::string s = tok_.text;
        Next();
        while (IsSymbol('+')) {
            Next();
            if (tok_.kind != Tok::String) Fail(tok_.line, "expected a string after '+'");
            s += tok_.text;
            Next();
        }
        return s;
    }

    FormValue ParseValue(int depth) {
        if (depth > kMaxDepth) Fail(tok_.line, "values nested too deeply");
        FormValue v;
        v.line = tok_.line;
        switch (tok_.kind) {
        case Tok::Integer:
            v.kind = FormValue::Kind::Integer;
            v.integer = tok_.integer;
            Next();
            return v;
        case Tok::Float:
            v.kind = FormValue::Kind::Float;
            v.number = tok_.number;
            Next();
            return v;
        case Tok::String:
            v.kind = FormValue::Kind::String;
            v.text = StringWithContinuations();
            return v;
        case Tok::Ident:
            v.kind = FormValue::Kind::Identifier;
            v.text = tok_.text;
            Next();
            return v;
        case Tok::End:
            Fail(tok_.line, "expected a value");
        case Tok::Symbol:
            break;
        }
        char c = tok_.text[0];
        if (c == '[') {
            v.kind = FormValue::Kind::Set;
            Next();
            while (!IsSymbol(']')) {
                if (!v.items.empty()) Expect(',');
                FormValue item;
                item.kind = FormValue::Kind::Identifier;
                item.line = tok_.line;
                item.text = ExpectIdent("a set element");
                v.items.push_back(std::move(item));
            }
            Next();
        } else if (c == '(') {
            v.kind = FormValue::Kind::List;
            Next();
            while (!IsSymbol(')')) {
                if (tok_.kind == Tok::End) Fail(v.line, "unterminated list");
                v.items.push_back(ParseValue(depth + 1));
            }
            Next();
        } else if (c == '<') {
            v.kind = FormValue::Kind::Collection;
            Next();
            while (!IsSymbol('>')) {
                if (!IsWord("item")) Fail(tok_.line, "expected 'item' or '>'");
                FormCollectionItem item;
                item.line = tok_.line;
                Next();
                while (!IsWord("end")) item.properties.push_back(ParseProperty(depth + 1));
                Next();
                v.collection.push_back(std::move(item));
            }
            Next();
        } else if (c == '{') {
            v.kind = FormValue::Kind::Binary;
            v.bytes = LexBinaryBody();
            Next();
        } else if (c == '@') {
            // A binary value kept in a file beside the description.
            v.kind = FormValue::Kind::FileRef;
            Next();
            if (tok_.kind != Tok::String) Fail(tok_.line, "expected a file name in quotes after '@'");
            v.text = tok_.text;
            Next();
        } else {
            Fail(tok_.line, "expected a value");
        }
        return v;
    }

    FormProperty ParseProperty(int depth) {
        FormProperty p;
        p.line = tok_.line;
        if (tok_.kind == Tok::End) Fail(tok_.line, "missing 'end'");
        p.name = ExpectIdent("a property name, 'object' or 'end'");
        Expect('=');
        p.value = ParseValue(depth);
        return p;
    }

    FormObject ParseObject(int depth) {
        if (depth > kMaxDepth) Fail(tok_.line, "objects nested too deeply");
        if (!IsWord("object")) Fail(tok_.line, "expected 'object'");
        FormObject obj;
        obj.line = tok_.line;
        Next();
        obj.name = ExpectIdent("an object name");
        if (IsSymbol(':')) {
            Next();
            obj.className = ExpectIdent("a class name");
        } else {
            // Unnamed objects carry only their class.
            obj.className = obj.name;
            obj.name.clear();
        }
        for (;;) {
            if (IsWord("end")) {
                Next();
                return obj;
            }
            if (IsWord("object")) {
                obj.children.push_back(ParseObject(depth + 1));
                continue;
            }
            obj.properties.push_back(ParseProperty(depth));
        }
    }

    std::string_view text_;
    std::string_view source_;
    size_t pos_ = 0;
    int line_ = 1;
    Token tok_;
};

}  // namespace

FormTextError::FormTextError(std::string_view source, int line, std::string_view message)
    : std::runtime_error(Located(source, line, message)), line_(line) {}

FormObject ParseFormText(std::string_view text, std::string_view sourceName) {
    // A leading UTF-8 byte-order mark is tolerated.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Parser parser(text, sourceName);
    return parser.ParseTop();
}

const char* FormValueKindName(FormValue::Kind kind) {
    switch (kind) {
    case FormValue::Kind::Integer: return "integer";
    case FormValue::Kind::Float: return "number";
    case FormValue::Kind::String: return "string";
    case FormValue::Kind::Identifier: return "identifier";
    case FormValue::Kind::Set: return "set";
    case FormValue::Kind::List: return "list";
    case FormValue::Kind::Collection: return "collection";
    case FormValue::Kind::Binary: return "binary value";
    case FormValue::Kind::FileRef: return "file reference";
    }
    return "value";
}

}  // namespace pellix
