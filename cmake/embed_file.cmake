# Writes a C++ source that returns the bytes of a file, so that a program carries the file in
# itself. Run as a script: cmake -DINPUT=file -DOUTPUT=source.cpp -DFUNCTION=fq::ns::Name
#   -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
string(REGEX MATCH "^(.*)::([^:]+)$" _ "${FUNCTION}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}" "// Generated at build time from ${name}; not to be edited.
#include <cstdint>
#include <span>

namespace ${CMAKE_MATCH_1} {

std::span<const uint8_t> ${CMAKE_MATCH_2}() {
  static const uint8_t bytes[] = {
${bytes}};
  return bytes;
}

}  // namespace ${CMAKE_MATCH_1}
")
