add_fuzzer(xml fuzz_xml.cpp)
add_fuzzer(xmlload fuzz_xmlload.cpp)
add_fuzzer(readcell fuzz_readcell.cpp)
