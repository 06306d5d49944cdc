// Two pieces of the C++ runtime, replaced in the program because the
// library's own versions bring in far more than they do here.
//
// The library raises its standard errors (length, range, logic) from one
// object that needs every standard error class and a second, reference-
// counted string implementation: about 50 KB. The program catches exceptions
// only where they would otherwise unwind into the system (the window and
// dialog procedures), whatever their type, so an error that carries the same
// message serves it equally.
//
// The standard terminate handler writes the pending exception's name to the
// standard error stream, which a window program does not have, and brings
// the symbol demangler in for it; ending the program at once is what the
// user sees from either.
//
// Made for the libstdc++ of GCC 12.2 (Debian 12's mingw-w64), whose throw
// helpers are these std::__throw_* functions. Another version may name them
// differently and link its own back in: the ShippedBinaries test fails when
// the program holds the library's error classes or its terminate message.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* message) : m_message(message) {}
    const char* what() const noexcept override { return m_message; }

private:
    const char* m_message;
};

} // namespace

void __gnu_cxx::__verbose_terminate_handler()
{
    std::abort();
}

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* message) { throw LibraryError(message); }
void __throw_domain_error(const char* message) { throw LibraryError(message); }
void __throw_invalid_argument(const char* message) { throw LibraryError(message); }
void __throw_length_error(const char* message) { throw LibraryError(message); }
void __throw_out_of_range(const char* message) { throw LibraryError(message); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* message) { throw LibraryError(message); }
void __throw_range_error(const char* message) { throw LibraryError(message); }
void __throw_overflow_error(const char* message) { throw LibraryError(message); }
void __throw_underflow_error(const char* message) { throw LibraryError(message); }

} // namespace std
