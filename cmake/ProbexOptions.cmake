# probex_options: the compiler settings of every target of ours, an interface
# library that each library and executable links.  The fuzzing project
# (fuzz/) includes this file too and adds its instrumentation to the target.
#
# The printed digits depend on every rounding of the 80-bit arithmetic: no
# contraction into fused operations and no value-changing optimisations.
add_library(probex_options INTERFACE)
target_compile_features(probex_options INTERFACE cxx_std_20)
target_compile_options(probex_options INTERFACE -Wall -Wextra -ffp-contract=off -fno-fast-math)

option(PROBEX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(PROBEX_SANITIZE)
  target_compile_options(probex_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(probex_options INTERFACE -fsanitize=address,undefined)
endif()
