add_fuzzer(excelin fuzz_excelin.cpp)
