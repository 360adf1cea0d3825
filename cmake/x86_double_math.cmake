# On 32-bit x86 the x87 unit keeps intermediate results in 80 bits and rounds them
# to double only when they are stored, so some results come out with other digits
# (92 of 200,000 batch lines, measured). SSE2 rounds every operation to double, as
# every other target does. Only the compiler's predefined macros are checked, so
# the check needs no libraries for the target.
include(CheckCXXSourceCompiles)
function(manacalc_check_x86_double_math)
  set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
  # Checked on every configure: the answer changes with CMAKE_CXX_FLAGS.
  unset(MANACALC_DOUBLES_ROUND_AS_DOUBLES CACHE)
  check_cxx_source_compiles([[
#if (defined(__i386__) && !defined(__SSE2_MATH__)) || (defined(_M_IX86) && _M_IX86_FP < 2)
#error "doubles are computed on the x87 unit"
#endif
int manacalc_x86_double_math() { return 0; }
]] MANACALC_DOUBLES_ROUND_AS_DOUBLES)
  if(NOT MANACALC_DOUBLES_ROUND_AS_DOUBLES)
    message(FATAL_ERROR
      "This 32-bit x86 build computes doubles with x87 arithmetic, which changes "
      "results. Add -msse2 -mfpmath=sse to CMAKE_CXX_FLAGS (with MSVC: /arch:SSE2).")
  endif()
endfunction()
manacalc_check_x86_double_math()
