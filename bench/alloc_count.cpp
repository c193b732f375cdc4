#include "alloc_count.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <new>

// glibc's own allocator, under the names it exports beside malloc. The
// functions below replace malloc and its relatives for the whole
// process (the executable's definitions come first in symbol lookup) and
// hand every call on to these, so the heap itself stays glibc's.
// NOLINTBEGIN(bugprone-reserved-identifier,readability-identifier-naming): glibc's and the linker's own names
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);

// Bounds of this executable's code, from the GNU linker's default script.
extern const char __executable_start;
extern const char etext;
}
// NOLINTEND(bugprone-reserved-identifier,readability-identifier-naming): end of those names

namespace {

std::atomic<std::uint64_t> allCalls{0};
std::atomic<std::uint64_t> ownCalls{0};

// Mesa's rasterizer threads allocate too, hence the atomics.
void record(const void* caller)
{
    allCalls.fetch_add(1, std::memory_order_relaxed);
    const char* address = static_cast<const char*>(caller);
    if (address >= &__executable_start && address < &etext) {
        ownCalls.fetch_add(1, std::memory_order_relaxed);
    }
}

}  // namespace

AllocationCount allocationsSoFar()
{
    return AllocationCount{allCalls.load(), ownCalls.load()};
}

extern "C" {

void* malloc(std::size_t size)
{
    record(__builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    record(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, std::size_t size)
{
    record(__builtin_return_address(0));
    return __libc_realloc(pointer, size);
}

void* memalign(std::size_t alignment, std::size_t size)
{
    record(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

// NOLINTNEXTLINE(readability-identifier-naming): the C library's name, replaced here
void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    record(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

// NOLINTNEXTLINE(readability-identifier-naming): the C library's name, replaced here
int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    record(__builtin_return_address(0));
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr) return ENOMEM;
    *result = pointer;
    return 0;
}

void free(void* pointer)
{
    __libc_free(pointer);
}

}  // extern "C"

// operator new is replaced too: the default one would call malloc from the C++
// runtime and hide who asked. operator delete stays the runtime's (it calls free).
void* operator new(std::size_t size)
{
    record(__builtin_return_address(0));
    void* pointer = __libc_malloc(size == 0 ? 1 : size);
    if (pointer == nullptr) throw std::bad_alloc();
    return pointer;
}

void* operator new[](std::size_t size)
{
    record(__builtin_return_address(0));
    void* pointer = __libc_malloc(size == 0 ? 1 : size);
    if (pointer == nullptr) throw std::bad_alloc();
    return pointer;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    record(__builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    record(__builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}
