// The C++ library reports misuse (a std::string grown past its limit, an
// index out of range ...) through throw helpers whose own definitions bring
// in every standard exception type and the library's second string
// implementation: some 50 KB of the runtime. The runtime catches only its own
// key-sequence error by type and anything else with catch (...), and its new
// handler ends it when memory runs out; so in quillon.exe these helpers throw
// one small exception of its own instead, which those catch (...) handlers
// turn into the same fault results. All of them are defined, so the library's
// copies never join the link. Not for the configurator, and not for code that
// catches a standard exception by its type.
#include <bits/functexcept.h>

namespace {
struct LibraryFault {};
}  // namespace

namespace std {
void __throw_bad_exception() { throw LibraryFault{}; }
void __throw_bad_alloc() { throw LibraryFault{}; }
void __throw_bad_array_new_length() { throw LibraryFault{}; }
void __throw_bad_cast() { throw LibraryFault{}; }
void __throw_bad_typeid() { throw LibraryFault{}; }
void __throw_logic_error(const char*) { throw LibraryFault{}; }
void __throw_domain_error(const char*) { throw LibraryFault{}; }
void __throw_invalid_argument(const char*) { throw LibraryFault{}; }
void __throw_length_error(const char*) { throw LibraryFault{}; }
void __throw_out_of_range(const char*) { throw LibraryFault{}; }
void __throw_out_of_range_fmt(const char*, ...) { throw LibraryFault{}; }
void __throw_runtime_error(const char*) { throw LibraryFault{}; }
void __throw_range_error(const char*) { throw LibraryFault{}; }
void __throw_overflow_error(const char*) { throw LibraryFault{}; }
void __throw_underflow_error(const char*) { throw LibraryFault{}; }
}  // namespace std
