// Case rules of the 8-bit texts: only the ASCII letters fold, as in the archive name comparisons.
// Used for names in archives, class names and resource names.
#pragma once

#include <string>

namespace pelorin {

char LowerAscii(char c);
std::string LowerCaseAscii(std::string text);
// Negative, zero or positive; ASCII letters compare as capitals, so "_" sorts after letters.
int CompareTextAscii(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);

}  // namespace pelorin
