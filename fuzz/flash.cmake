# Flash images: the two user-database readers and the default-database area search.
add_fuzzer(userdb fuzz_userdb.cpp)
add_fuzzer(userdb25 fuzz_userdb25.cpp)
add_fuzzer(dftdbarea fuzz_dftdbarea.cpp)
# The merge into an image on disk, and the user-database readers' search through a file.
add_fuzzer(merge fuzz_merge.cpp)
add_fuzzer(userdb_file fuzz_userdb_file.cpp)
