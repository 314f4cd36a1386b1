// The framework's error family and the text conversions its users rely on.
// Portable.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeinfo>

namespace pellix {

// Base of every object of the framework and of the program.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The framework spelling of the class name ("TButton").
    virtual std::string ClassName() const { return "TObject"; }

    template <class T>
    bool InheritsFrom() const { return dynamic_cast<const T*>(this) != nullptr; }
};

// Errors raised by the framework and the program; the application's default
// handler shows Message().
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
    virtual std::string ClassName() const { return "Exception"; }
};

#define PELLIX_EXCEPTION(Name, Base)                                         \
    class Name : public Base {                                               \
    public:                                                                  \
        using Base::Base;                                                    \
        std::string ClassName() const override { return #Name; }             \
    }

PELLIX_EXCEPTION(EConvertError, Exception);
PELLIX_EXCEPTION(EStreamError, Exception);
PELLIX_EXCEPTION(EReadError, EStreamError);
PELLIX_EXCEPTION(EWriteError, EStreamError);
PELLIX_EXCEPTION(EFOpenError, EStreamError);
PELLIX_EXCEPTION(EFCreateError, EStreamError);
PELLIX_EXCEPTION(EInOutError, Exception);
// Picture data that no picture kind can read, or a file extension none claims.
PELLIX_EXCEPTION(EInvalidGraphic, Exception);
// A registry key or value that could not be created, read or written.
PELLIX_EXCEPTION(ERegistryException, Exception);

// Integer text as the framework reads it: optional blanks and sign, decimal or
// "$"/"0x" hexadecimal. Throws EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(const std::string& text);
bool TryStrToInt(const std::string& text, int32_t& value);
int32_t StrToIntDef(const std::string& text, int32_t fallback);
std::string IntToStr(int64_t value);
// True for a number other than zero, false for zero, else "True" or "False"
// in any case. Throws EConvertError "'%s' is not a valid boolean value".
bool StrToBool(const std::string& text);
bool TryStrToBool(const std::string& text, bool& value);

// Replaces "%s" in a message pattern: the framework's error texts carry one.
std::string FormatMessage1(std::string_view pattern, std::string_view arg);

std::string UpperCase(std::string_view s);  // A-Z only
std::string LowerCase(std::string_view s);  // a-z only
bool SameText(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);
// Every from in s replaced by to; the search goes on after each inserted to,
// so a from inside it stays.
std::string StringReplaceAll(std::string s, std::string_view from, std::string_view to);

}  // namespace pellix
