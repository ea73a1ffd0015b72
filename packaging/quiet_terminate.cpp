// libstdc++'s default terminate handler prints the demangled type of an
// uncaught exception to standard error, which a GUI program does not have,
// and brings the whole demangler into the program (some 45 KB). Defined
// here, the library's own copy stays out of the link; ending is all it does.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler();
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
