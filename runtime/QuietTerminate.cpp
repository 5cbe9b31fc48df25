// Linked into every program and library a user runs. The C++ runtime's default terminate handler
// prints the uncaught exception's demangled type to stderr, which a windowed program does not
// have, and brings the demangler along: about 46 KiB of each binary. This one aborts as that one
// does after printing.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
