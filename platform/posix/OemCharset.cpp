// OEM to ANSI on POSIX: code page 437 to code page 1252, the pair of a Western system.
// Characters 1252 lacks (box drawing, Greek letters) take their nearest look-alike.
#include "platform/SystemServices.h"

#include <array>

namespace pelorin {

namespace {

constexpr std::array<unsigned char, 128> kOem437ToAnsi1252 = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,  // 80
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 'P',  0x83,  // 90
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, 0xAC, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,  // A0
    '_',  '_',  '_',  0xA6, '+',  '+',  '+',  '+',  '+',  '+',  0xA6, '+',  '+',  '+',  '+',  '+',   // B0
    '+',  '+',  '+',  '+',  '-',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  '-',  '+',  '+',   // C0
    '+',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  '_',  '_',  0xA6, 0xA6, '_',   // D0
    'a',  0xDF, 'G',  'p',  'S',  's',  0xB5, 't',  'F',  'T',  'O',  'd',  '8',  'f',  'e',  'n',   // E0
    '=',  0xB1, '=',  '=',  '(',  ')',  0xF7, '~',  0xB0, 0xB7, 0xB7, 'v',  'n',  0xB2, '_',  0xA0,  // F0
};

}  // namespace

std::string SystemServices::OemToAnsiText(const std::string& text) const {
    std::string result = text;
    for (char& c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) c = static_cast<char>(kOem437ToAnsi1252[byte - 0x80]);
    }
    return result;
}

}  // namespace pelorin
