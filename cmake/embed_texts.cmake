# Turns plain text files into a C++ source that holds their exact bytes.
# Called at build time: cmake -DOUTPUT=<file.cpp> -DINPUTS=<a.txt|b.txt> -P embed_texts.cmake
# Each file foo_bar.txt becomes kalvex::texts::foo_bar, a std::string_view over
# the bytes exactly as stored (no newline added or removed).
set(body "// Generated from src/main/texts by cmake/embed_texts.cmake; do not edit.\n")
string(APPEND body "#include \"embedded_texts.hpp\"\n\nnamespace kalvex::texts {\n")
string(REPLACE "|" ";" input_files "${INPUTS}")
foreach(input IN LISTS input_files)
  get_filename_component(name "${input}" NAME_WE)
  file(READ "${input}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR byte_count "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND body "namespace {\nconstexpr char ${name}_bytes[] = {${bytes}};\n}  // namespace\n")
  string(APPEND body "const std::string_view ${name}{${name}_bytes, ${byte_count}};\n\n")
endforeach()
string(APPEND body "}  // namespace kalvex::texts\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
