# Flags shared by every target of every build.
add_library(ondrel_settings INTERFACE)
target_compile_options(ondrel_settings INTERFACE
  -Wall -Wextra -Wpedantic -Werror
  # Every narrowing, change of sign and cast written out, and no name that
  # hides another: a silent conversion can change a sample.
  -Wconversion -Wsign-conversion -Wold-style-cast -Wshadow
  # Exact numerics: no contraction of a*b+c into one rounding.
  -ffp-contract=off)
if(WIN32)
  # Correctly rounded printf conversions instead of msvcrt's.
  target_compile_definitions(ondrel_settings INTERFACE __USE_MINGW_ANSI_STDIO=1 WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # 32-bit x86 computes on the x87 stack in extended precision; keep float
  # variables in memory so that every named float value really is a float.
  target_compile_options(ondrel_settings INTERFACE -ffloat-store)
endif()

if(ONDREL_FUZZ)
  # Coverage for libFuzzer in everything the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

set(ONDREL_SANITIZE "" CACHE STRING "Sanitizers for every target, e.g. address,undefined")
if(ONDREL_SANITIZE)
  add_compile_options(-fsanitize=${ONDREL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${ONDREL_SANITIZE})
endif()

if(WIN32)
  # The DLL and the test programs carry their runtime with them: only
  # Windows system DLLs are imported.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Release builds: no folder of the build machine ends up in a binary (file
# names in the debug information, __FILE__), so two builds of one commit in
# different folders give the same bytes. Sources map to the folder the source
# archive unpacks to, which is where a debugger then finds them. GCC lets the
# last matching map win: the build folder, inside the source folder, comes last.
option(ONDREL_REPRODUCIBLE "Map the source and build folders out of the binaries" OFF)
if(ONDREL_REPRODUCIBLE)
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=Ondrel-${PROJECT_VERSION}
                      -ffile-prefix-map=${CMAKE_BINARY_DIR}=Ondrel-${PROJECT_VERSION}/build)
  if(WIN32)
    # The PE header's link time would differ on every build.
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()
