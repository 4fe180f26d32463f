add_fuzzer(dbfile fuzz_dbfile.cpp)
