// The C++ library's failure paths for the suite's programs, all built without exceptions
// (-fno-exceptions).
//
// The library's string, vector and map report a failure (memory exhausted, a text longer than
// the largest one, an index out of range) by calling these functions, which throw. Linked
// from the library they bring its exception classes, a second string implementation, the
// unwinder and the type information along: well over 100 KB. In a program without exceptions
// such a throw could only end the program through std::terminate and abort(), so these
// definitions end it the same way, directly, with what the terminate handler would write.
// The library then takes these definitions instead of its own; should it still need its own
// for another function, the link fails with a duplicate definition instead of growing
// silently.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// The program's quiet terminate handler: what the C++ library's own handler writes for an
// uncaught standard exception, without naming its type (the name demangler alone would add
// about 46 KB), then the same end.
[[noreturn]] void EndProgram(const char* pszWhat)
{
    std::fputs("terminate called after throwing an exception\n  what():  ", stderr);
    std::fputs(pszWhat, stderr);
    std::fputs("\n", stderr);
    std::abort();
}

} // namespace

namespace std {

void __throw_bad_alloc()
{
    EndProgram("std::bad_alloc");
}
void __throw_bad_array_new_length()
{
    EndProgram("std::bad_array_new_length");
}
void __throw_length_error(const char* pszWhat)
{
    EndProgram(pszWhat);
}
void __throw_logic_error(const char* pszWhat)
{
    EndProgram(pszWhat);
}
void __throw_out_of_range(const char* pszWhat)
{
    EndProgram(pszWhat);
}
// The message is the library's format, not filled in.
void __throw_out_of_range_fmt(const char* pszFormat, ...)
{
    EndProgram(pszFormat);
}
void __throw_invalid_argument(const char* pszWhat)
{
    EndProgram(pszWhat);
}

} // namespace std

// Allocation: the library's operator new throws std::bad_alloc when memory runs out; here
// the program ends instead, as the uncaught exception would have ended it.
void* operator new(std::size_t cb)
{
    void* p = std::malloc(cb ? cb : 1);
    if (!p)
        std::__throw_bad_alloc();
    return p;
}

void* operator new[](std::size_t cb)
{
    return operator new(cb);
}

void* operator new(std::size_t cb, const std::nothrow_t&) noexcept
{
    return std::malloc(cb ? cb : 1);
}

void* operator new[](std::size_t cb, const std::nothrow_t&) noexcept
{
    return std::malloc(cb ? cb : 1);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
