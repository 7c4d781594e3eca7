# Renders the material natively (64-bit) and under the emulator (32-bit) and
# compares the two. The native half comes from a separate build of the same
# sources: scripts/test.sh builds the linux preset before linux32.
if(NOT EXISTS "${NATIVE}")
  message(FATAL_ERROR "no native renderer at ${NATIVE}: build the linux preset first "
                      "(or point ONDREL_NATIVE_BUILD_DIR at a 64-bit build)")
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/64" "${WORK}/32")

execute_process(COMMAND "${NATIVE}" "${WORK}/64" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the native render failed: ${result}")
endif()
# The 32-bit build renders the very samples the native one synthesized, so
# that only the processing can differ.
execute_process(COMMAND ${EMULATOR} "${CROSS}" "${WORK}/32" "${WORK}/64/material.f32" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the emulated 32-bit render failed: ${result}")
endif()
execute_process(COMMAND "${NATIVE}" --compare "${WORK}/64" "${WORK}/32" "${TOLERANCE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the 32-bit and the 64-bit build disagree by more than ${TOLERANCE}")
endif()
