# Fails when the C++ example in README.md differs from examples/library_example.cpp.
file(READ ${README} readme)
file(READ ${EXAMPLE} example)
string(FIND "${readme}" "```cpp\n${example}```" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show examples/library_example.cpp as it is")
endif()
