# Compile options shared by every QLOR target, linked PRIVATE.
add_library(qlor_warnings INTERFACE)
target_compile_options(qlor_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
# GCC 12 reports std::string concatenations at -O3 as overlapping copies
# (GCC bug 105651, a false positive).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(qlor_warnings INTERFACE -Wno-restrict)
endif()
if(QLOR_WERROR)
  target_compile_options(qlor_warnings INTERFACE -Werror)
endif()

# Exact arithmetic: no fused multiply-add and no fast-math anywhere, since a
# last-bit difference flips comparisons such as d <= t. Applied globally so
# that every target, tests and benchmarks included, computes alike. Math
# functions need not set errno (results are the same), which lets square
# roots run as vector instructions.
add_compile_options(-ffp-contract=off -fno-fast-math -fno-math-errno)

if(QLOR_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QLOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
