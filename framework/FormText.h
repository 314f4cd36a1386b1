// Reader of form descriptions: the text form of "object Name: TClass ... end"
// blocks with their properties. Portable: the loader that turns the tree into
// components lives in FormLoader.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pellix {

struct FormProperty;

struct FormCollectionItem {
    int line = 0;
    std::vector<FormProperty> properties;
};

struct FormValue {
    enum class Kind { Integer, Float, String, Identifier, Set, List, Collection, Binary, FileRef };
    Kind kind = Kind::Integer;
    int line = 0;
    int64_t integer = 0;
    double number = 0;
    std::string text;                        // String, Identifier, FileRef
    std::vector<FormValue> items;            // Set (identifiers), List
    std::vector<FormCollectionItem> collection;
    std::vector<uint8_t> bytes;              // Binary
};

struct FormProperty {
    std::string name;  // may be dotted: "Font.Height"
    int line = 0;
    FormValue value;
};

struct FormObject {
    std::string name;
    std::string className;
    int line = 0;
    std::vector<FormProperty> properties;
    std::vector<FormObject> children;
};

// Carries "source(line): message".
class FormTextError : public std::runtime_error {
public:
    FormTextError(std::string_view source, int line, std::string_view message);
    int Line() const { return line_; }

private:
    int line_;
};

// Parses one top-level object. Throws FormTextError on any malformed input.
FormObject ParseFormText(std::string_view text, std::string_view sourceName);

const char* FormValueKindName(FormValue::Kind kind);

}  // namespace pellix
