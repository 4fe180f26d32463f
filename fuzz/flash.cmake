# Flash images: the two user-database readers and the default-database area search.
add_fuzzer(userdb fuzz_userdb.cpp)
add_fuzzer(userdb25 fuzz_userdb25.cpp)
add_fuzzer(dftdbarea fuzz_dftdbarea.cpp)
