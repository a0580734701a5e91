// The wizards' end when an exception escapes every handler: abort at once, as the runtime's
// handler does after printing the exception's type to a console these programs do not have.
// Defined here, it keeps the runtime's handler and its name demangler out of the programs.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
