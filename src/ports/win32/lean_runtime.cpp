// Two pieces of GCC's C++ runtime, replaced for the statically linked program, each because it
// drags in far more than the program uses (docs/PERFORMANCE.md has the figures):
// - the handler for an exception nothing catches: GCC's prints the exception's type name to
//   stderr, which a GUI program does not have, and links in the whole demangler to do so. Every
//   fault is caught at the entry and in each window procedure, so it runs only if that promise
//   is broken, and it ends the process as GCC's does, by abort();
// - the functions through which the library reports a broken precondition (a string past its
//   maximum size, an index out of range, no memory): GCC's build std::logic_error and its kin,
//   whose reference-counted strings bring a second string implementation along, about a third
//   of the program file. These throw a plain exception with the library's message instead (a
//   position shown as its unformatted placeholder), which the entry shows in the error box like
//   any other. All of the runtime's file is defined here, so that it is never linked in beside.
// The program's own objects come before the runtime on the link line, so these win.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

#if defined(__GLIBCXX__)
#include <bits/functexcept.h>

namespace {

class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_domain_error(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* what) { throw LibraryError(what); }
void __throw_range_error(const char* what) { throw LibraryError(what); }
void __throw_overflow_error(const char* what) { throw LibraryError(what); }
void __throw_underflow_error(const char* what) { throw LibraryError(what); }

}  // namespace std
#endif
