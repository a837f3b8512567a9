# cmake -DOUTPUT=file -DINPUTS="a;b;…" -P concatenate.cmake
# Writes the inputs one after the other into OUTPUT.
set(text "")
foreach(input IN LISTS INPUTS)
    file(READ ${input} part)
    string(APPEND text "${part}")
endforeach()
file(WRITE ${OUTPUT} "${text}")
