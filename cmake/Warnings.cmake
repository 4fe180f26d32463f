# One INTERFACE target carries the warning flags; every project target links it.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wundef -Wshadow -Wcast-qual -Wnon-virtual-dtor -Woverloaded-virtual
    $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>
    $<$<BOOL:${WARNINGS_AS_ERRORS}>:-Werror>)
