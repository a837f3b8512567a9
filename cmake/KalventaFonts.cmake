# The embedded Liberation Sans, cut at build time to the characters the
# program sets (cmake/subset_font.py): a face to parse of a fifth of the
# size at every start of the desktop program, and a tenth of the bytes the
# browser edition sends.
#
# kalventa_subset_fonts(<ttf|woff2> <output_dir> <files_var>) writes
# LiberationSans-Regular.<flavor> and LiberationSans-Bold.<flavor> into
# <output_dir> and sets <files_var> to their paths.

include_guard(GLOBAL)

# A Python 3 with fontTools, and brotli for WOFF2 (Debian: python3-fonttools
# and python3-brotli), also when another python3 comes first on the PATH.
function(kalventa_find_font_python flavor)
    set(modules "fontTools.subset")
    set(variable KALVENTA_FONT_PYTHON)
    if(flavor STREQUAL "woff2")
        set(modules "fontTools.subset, brotli")
        set(variable KALVENTA_WOFF2_PYTHON)
    endif()
    if(${variable})
        return()
    endif()
    find_program(path_python python3)
    foreach(candidate ${path_python} /usr/bin/python3)
        execute_process(COMMAND ${candidate} -c "import ${modules}" RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
        if(NOT failed)
            set(${variable} ${candidate} CACHE FILEPATH "Python 3 with ${modules}")
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "The fonts are subset with Python's ${modules}: install python3-fonttools and python3-brotli")
endfunction()

function(kalventa_subset_fonts flavor output_dir files_var)
    kalventa_find_font_python(${flavor})
    set(python ${KALVENTA_FONT_PYTHON})
    if(flavor STREQUAL "woff2")
        set(python ${KALVENTA_WOFF2_PYTHON})
    endif()
    set(source_dirs ${PROJECT_SOURCE_DIR}/core ${PROJECT_SOURCE_DIR}/window ${PROJECT_SOURCE_DIR}/ui
        ${PROJECT_SOURCE_DIR}/web/page)
    set(patterns)
    foreach(dir ${source_dirs})
        list(APPEND patterns ${dir}/*.h ${dir}/*.cpp ${dir}/*.js ${dir}/*.html)
    endforeach()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${patterns})
    set(script ${PROJECT_SOURCE_DIR}/cmake/subset_font.py)
    set(files)
    foreach(face Regular Bold)
        set(font ${PROJECT_SOURCE_DIR}/ui/fonts/LiberationSans-${face}.ttf)
        set(output ${output_dir}/LiberationSans-${face}.${flavor})
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
            COMMAND ${python} ${script} ${font} ${output} ${flavor} ${source_dirs}
            DEPENDS ${font} ${script} ${sources}
            COMMENT "Subsetting Liberation Sans ${face} as ${flavor}"
            VERBATIM)
        list(APPEND files ${output})
    endforeach()
    set(${files_var} ${files} PARENT_SCOPE)
endfunction()
