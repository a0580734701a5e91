// Case rules of the 8-bit texts: only the ASCII letters fold, bytes above 127 stay as
// they are. Used for names in archives, class and resource names and project keywords.
#pragma once

#include <string>

namespace pelorin {

char LowerAscii(char c);
char UpperAscii(char c);
std::string LowerCaseAscii(std::string text);
// Negative, zero or positive; ASCII letters compare as capitals, so "_" sorts after letters.
int CompareTextAscii(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);

}  // namespace pelorin
