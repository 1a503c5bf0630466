# Picture codecs: content sniffing and decoding of arbitrary bytes.
kadrix_fuzzer(imaging ${CMAKE_SOURCE_DIR}/fuzz/imaging_fuzzer.cpp)
target_link_libraries(fuzz_imaging PRIVATE Kadrix::codecs Qt6::Gui)
kadrix_warnings(fuzz_imaging)
