# Warnings are errors everywhere in our own code.
add_library(veilnote_warnings INTERFACE)
target_compile_options(veilnote_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Werror)
