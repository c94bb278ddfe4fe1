// Replacement global allocation functions: malloc and free underneath, plus a
// counter. Every form the program may call is replaced so new and delete match.

#include "alloc_count.h"

#include <cstdlib>
#include <new>

namespace {
bool counting = false;
int allocations = 0;

void* take(std::size_t size) {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
} // namespace

void alloc::count(bool on) {
    counting = on;
    if (on) allocations = 0;
}
int alloc::made() {
    return allocations;
}

void* operator new(std::size_t size) {
    if (void* p = take(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return take(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return take(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
