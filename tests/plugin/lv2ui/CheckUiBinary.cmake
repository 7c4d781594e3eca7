# Checks the LV2 editor library as hosts and the system loader see it: its one
# export lv2ui_descriptor, the libraries it needs (the C and C++ runtime, the
# X client libraries and FreeType; a sanitizer's runtime in those builds), and
# that none of the sound came along: no code of the plug-in class or its filters.
# cmake -DUI=<file> -P CheckUiBinary.cmake
cmake_minimum_required(VERSION 3.25)
find_program(NM nm REQUIRED)
find_program(OBJDUMP objdump REQUIRED)

execute_process(COMMAND ${NM} -D --defined-only ${UI} OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${UI}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${dynamic}")
set(exports "")
foreach(line ${lines})
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  list(APPEND exports "${name}")
endforeach()
if(NOT exports STREQUAL "lv2ui_descriptor")
  message(FATAL_ERROR "exports are '${exports}', expected exactly lv2ui_descriptor")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${UI} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
string(REGEX MATCHALL "NEEDED +[^\n]+" needed "${headers}")
if(NOT status EQUAL 0 OR NOT needed)
  message(FATAL_ERROR "no NEEDED entries in ${UI}: not a dynamically linked library?")
endif()
set(allowed
  "^libc\\.so\\.6$" "^libm\\.so\\.6$" "^libpthread\\.so\\.0$" "^libdl\\.so\\.2$" "^librt\\.so\\.1$"
  "^ld-linux[-a-z0-9_]*\\.so\\.[0-9]+$" "^libstdc\\+\\+\\.so\\.6$" "^libgcc_s\\.so\\.1$"
  "^libX11\\.so\\.6$" "^libXext\\.so\\.6$" "^libxcb\\.so\\.1$" "^libxcb-shm\\.so\\.0$" "^libfreetype\\.so\\.6$"
  "^lib(a|ub|t)san\\.so\\.[0-9]+$")
foreach(entry ${needed})
  string(REGEX REPLACE "^NEEDED +" "" library "${entry}")
  string(STRIP "${library}" library)
  set(known FALSE)
  foreach(pattern ${allowed})
    if(library MATCHES "${pattern}")
      set(known TRUE)
    endif()
  endforeach()
  if(NOT known)
    message(FATAL_ERROR "needs ${library}, which is not the C or C++ runtime, an X client library or FreeType")
  endif()
endforeach()

execute_process(COMMAND ${NM} -C ${UI} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${UI}")
endif()
string(REGEX MATCH "(TOndrel::|tFilterSV|tFilterBase)[^\n]*" sound "${symbols}")
if(sound)
  message(FATAL_ERROR "the editor library carries code of the sound: ${sound}")
endif()
message(STATUS "exports: ${exports}; ${needed}")
