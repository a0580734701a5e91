// The runtime's own error throws for the wizards, defined here so that the runtime's versions,
// which build their messages with a second string implementation, stay out of the programs.
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// What the runtime reports (a length, index or argument it cannot take), as a plain error
// that the programs' handlers of std::exception show like any other.
class RuntimeLimit : public std::exception {
public:
    explicit RuntimeLimit(const char* what) : what_(what ? what : "runtime error") {}
    const char* what() const noexcept override { return what_; }

private:
    const char* what_;
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* what) { throw RuntimeLimit(what); }
void __throw_domain_error(const char* what) { throw RuntimeLimit(what); }
void __throw_invalid_argument(const char* what) { throw RuntimeLimit(what); }
void __throw_length_error(const char* what) { throw RuntimeLimit(what); }
void __throw_out_of_range(const char* what) { throw RuntimeLimit(what); }
// The pattern itself: its placeholders stay unfilled.
void __throw_out_of_range_fmt(const char* pattern, ...) { throw RuntimeLimit(pattern); }
void __throw_runtime_error(const char* what) { throw RuntimeLimit(what); }
void __throw_range_error(const char* what) { throw RuntimeLimit(what); }
void __throw_overflow_error(const char* what) { throw RuntimeLimit(what); }
void __throw_underflow_error(const char* what) { throw RuntimeLimit(what); }

}  // namespace std
