// Fills the placeholders of a message text, so that each message stands in the code as
// one literal and patterns read from resources are filled just as safely.
#pragma once

#include <initializer_list>
#include <string>
#include <type_traits>

namespace pelorin {

// One value for a placeholder: a text fills "%s", a whole number fills "%d".
class FormatArg {
public:
    FormatArg(const std::string& text) : text_(text) {}
    FormatArg(const char* text) : text_(text ? text : "") {}
    template <class Number, std::enable_if_t<std::is_integral_v<Number> && !std::is_same_v<Number, bool> &&
                                                 !std::is_same_v<Number, char>,
                                             int> = 0>
    FormatArg(Number value) : text_(std::to_string(value)), number_(true) {}

    const std::string& Text() const { return text_; }
    bool IsNumber() const { return number_; }

private:
    std::string text_;
    bool number_ = false;
};

// Each value takes the first "%s" (text) or "%d" (number) of the pattern that no earlier
// value took. Inserted values are never scanned again; a placeholder left without a value,
// and every other "%", stays as it is.
std::string FormatTextList(const std::string& pattern, std::initializer_list<FormatArg> args);

template <class... Args>
std::string FormatText(const std::string& pattern, const Args&... args) {
    return FormatTextList(pattern, {FormatArg(args)...});
}

}  // namespace pelorin
