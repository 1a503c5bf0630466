# Fuzzing the Paradox table reader (and writer, for inputs it may write).
kadrix_fuzzer(paradox paradox_fuzzer.cpp)
target_link_libraries(fuzz_paradox PRIVATE Kadrix::paradox)
target_include_directories(fuzz_paradox PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
kadrix_warnings(fuzz_paradox)
