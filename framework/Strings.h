// String lists of the framework. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/Classes.h"

namespace pellix {

// A list of lines; controls that show lines keep them in their window.
class TStrings : public TPersistent {
public:
    std::string ClassName() const override { return "TStrings"; }

    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    int Add(const std::string& s) {
        Insert(Count(), s);
        return Count() - 1;
    }
    // Case-insensitive for A-Z, like the framework's unsorted lists; -1 when absent.
    int IndexOf(std::string_view s) const;
    // Every line followed by CR LF.
    std::string Text() const;
    // Replaces the content with the lines of text: CR LF, a lone CR or a lone LF
    // ends a line, the last line may lack its end, and a NUL ends the text.
    void SetText(std::string_view text);
    void Assign(const TPersistent* source) override;
};

class TStringList : public TStrings {
public:
    std::string ClassName() const override { return "TStringList"; }

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override { return Strings(index); }
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override { items_.clear(); }

    const std::string& Strings(int index) const { return items_.at(static_cast<size_t>(index)); }
    const std::string& operator[](int index) const { return Strings(index); }

private:
    std::vector<std::string> items_;
};

}  // namespace pellix
