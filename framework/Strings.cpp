#include "framework/Strings.h"

#include <algorithm>

namespace pellix {

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

std::string TStrings::Text() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(std::string_view text) {
    Clear();
    text = text.substr(0, text.find('\0'));
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        Add(std::string(text.substr(at, end - at)));
        at = end;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
    }
}

void TStrings::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TStrings*>(source)) {
        if (other == this) return;
        Clear();
        for (int i = 0; i < other->Count(); ++i) Add(other->Get(i));
        return;
    }
    TPersistent::Assign(source);
}

// Bounds come from the stored items: Count() may be overridden by a list
// that keeps its lines elsewhere.
void TStringList::Insert(int index, const std::string& s) {
    if (index < 0 || static_cast<size_t>(index) > items_.size()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, s);
}

void TStringList::Delete(int index) {
    if (index < 0 || static_cast<size_t>(index) >= items_.size()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.erase(items_.begin() + index);
}

}  // namespace pellix
