# Compile options shared by every Kalventa target.
#
# The digits a label shows must not depend on the compiler or the processor:
# no fast-math, and no fused multiply-add (contraction would round a product
# and a sum once instead of twice). On 32-bit x86 the SSE unit is required,
# since the x87 unit holds intermediates with a wider exponent and mantissa.
# WebAssembly's floats are IEEE 754 binary32 and binary64 with no wider
# intermediates (emscripten calls its processor x86, but it has no SSE flags).

include_guard(GLOBAL)

function(kalventa_compile_options target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
            -Wnon-virtual-dtor -Wold-style-cast
            -ffp-contract=off -fno-fast-math)
        # GCC's full -Wshadow also flags enumerators named like a type alias
        # (VariantKind::Single beside Single); locals shadowing is what matters.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            target_compile_options(${target} PRIVATE -Wshadow=local)
        else()
            target_compile_options(${target} PRIVATE -Wshadow)
        endif()
        if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$" AND NOT EMSCRIPTEN)
            target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
        endif()
        if(KALVENTA_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
        # emscripten leaves the catching of exceptions off unless asked; the
        # core raises its run-time errors as exceptions.
        if(EMSCRIPTEN)
            target_compile_options(${target} PUBLIC -fexceptions)
            target_link_options(${target} PUBLIC -fexceptions)
        endif()
    elseif(MSVC)
        target_compile_options(${target} PRIVATE /W4 /fp:precise /fp:contract-)
        if(KALVENTA_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    endif()
endfunction()
