// The end of a program after an exception that nobody caught, for programs linked statically
// with the C++ library.
//
// The library's own handler names the exception's type through the library's name demangler,
// which alone adds about 46 KB to every program. This handler does the rest of what that one
// does: it writes what a standard exception says to the standard error stream (where a
// console program shows it; a window program has none) and ends the program with abort().
// The library then takes this definition instead of its own.
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    // A second call comes from an exception thrown while writing: end at once.
    static bool s_bTerminating = false;
    if (s_bTerminating)
        std::abort();
    s_bTerminating = true;

    // Without an exception in flight (std::terminate called directly) there is nothing to
    // rethrow.
    if (abi::__cxa_current_exception_type()) {
        try {
            throw;
        } catch (const std::exception& e) {
            std::fputs("terminate called after throwing an exception\n  what():  ", stderr);
            std::fputs(e.what(), stderr);
            std::fputs("\n", stderr);
        } catch (...) {
            std::fputs("terminate called after throwing an exception\n", stderr);
        }
    } else {
        std::fputs("terminate called without an active exception\n", stderr);
    }
    std::abort();
}

} // namespace __gnu_cxx
