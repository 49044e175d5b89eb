// Replaces the global operator new and delete. The replacement lives in the
// same object as the counter, so every program that reads the counter (the
// game's --bench) links it; the behaviour is that of the library's own.
#include "platform/alloc_count.h"

#include <cstdlib>
#include <new>

namespace ruma {

namespace {

thread_local bool counting = false;
thread_local AllocationCount counted;

void* allocate(std::size_t size)
{
    if (counting) {
        ++counted.count;
        counted.bytes += size;
    }
    if (size == 0) size = 1;
    for (;;) {
        if (void* memory = std::malloc(size)) return memory;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    if (counting) {
        ++counted.count;
        counted.bytes += size;
    }
    std::size_t align = static_cast<std::size_t>(alignment);
    if (align < sizeof(void*)) align = sizeof(void*);
    void* memory = nullptr;
    if (posix_memalign(&memory, align, size == 0 ? 1 : size) != 0) throw std::bad_alloc();
    return memory;
}

} // namespace

void countAllocations(bool on)
{
    if (on && !counting) counted = AllocationCount{};
    counting = on;
}

AllocationCount allocationsSoFar() { return counted; }

} // namespace ruma

// AddressSanitizer brings its own operator new, which must stay in charge.
#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) { return ruma::allocate(size); }
void* operator new[](std::size_t size) { return ruma::allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return ruma::allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t alignment) { return ruma::allocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return ruma::allocateAligned(size, alignment);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
#endif
