// Filling message patterns: the placeholders are found in the pattern once, then every
// value goes to the first free placeholder of its kind.
#include "core/TextFormat.h"

#include <vector>

namespace pelorin {

std::string FormatTextList(const std::string& pattern, std::initializer_list<FormatArg> args) {
    struct Slot {
        std::size_t at;
        bool number;
        const FormatArg* value;
    };
    std::vector<Slot> slots;
    for (std::size_t at = pattern.find('%'); at != std::string::npos && at + 1 < pattern.size();
         at = pattern.find('%', at + 1)) {
        if (pattern[at + 1] == 's' || pattern[at + 1] == 'd') slots.push_back({at, pattern[at + 1] == 'd', nullptr});
    }
    for (const FormatArg& arg : args) {
        for (Slot& slot : slots) {
            if (slot.value || slot.number != arg.IsNumber()) continue;
            slot.value = &arg;
            break;
        }
    }
    std::string text;
    std::size_t copied = 0;
    for (const Slot& slot : slots) {
        if (!slot.value) continue;
        text.append(pattern, copied, slot.at - copied);
        text += slot.value->Text();
        copied = slot.at + 2;
    }
    text.append(pattern, copied, std::string::npos);
    return text;
}

}  // namespace pelorin
