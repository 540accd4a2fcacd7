// What std::terminate does in keyvane.exe. The library's default handler prints the uncaught
// exception's demangled type to stderr, which a windowed program does not have, and drags the
// whole C++ demangler (about 45 KB) into the program for it. Every entry from Windows is guarded
// (guarded.h), so this is only reached by a fault that nothing could report anyway.
#include <cstdlib>

namespace __gnu_cxx {

// Replaces the library's own definition at link time: the static library's copy is then never
// pulled in.
[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
