// The C++ library's failure paths for programs built without exceptions (-fno-exceptions).
//
// The library's string, vector and map report a failure (memory exhausted, a text longer than
// the largest one, an index out of range) by calling these functions, which throw. Linked
// from the library they bring its exception classes, a second string implementation, the
// unwinder and the type information along: well over 100 KB. In a program without exceptions
// such a throw could only end the program through std::terminate and abort(), so these
// definitions end it the same way, directly. The library then takes these definitions
// instead of its own; should it still need its own for another function, the link fails
// with a duplicate definition instead of growing silently.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace std {

void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }

} // namespace std

// Allocation: the library's operator new throws std::bad_alloc when memory runs out; here
// the program ends instead, as the uncaught exception would have ended it.
void* operator new(std::size_t cb)
{
    void* p = std::malloc(cb ? cb : 1);
    if (!p)
        std::abort();
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

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
