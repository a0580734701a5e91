// StoredComment: a comment kept in the archive and read only when someone asks for it.
// Until it is read or set it is not loaded, and reads as empty.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelorin {

class StoredComment {
public:
    bool Loaded() const { return text_.has_value(); }
    const std::string& Text() const {
        static const std::string kNone;
        return text_ ? *text_ : kNone;
    }
    // Returns the length the record keeps for it.
    std::uint16_t Set(const std::string& text) {
        text_ = text;
        return static_cast<std::uint16_t>(text.size());
    }
    void Reset() { text_.reset(); }

private:
    std::optional<std::string> text_;
};

}  // namespace pelorin
