# Pictures compiled into the program as byte arrays, so that the plug-in
# never looks for files beside itself at run time.
#
# ondrel_embed_assets(TARGET OUTDIR FILE...) adds to TARGET a source file,
# generated in OUTDIR at build time, that holds each file's bytes and a table
# of them by name (the file name without its extension) for
# FindEmbeddedAsset of editor/assets/EmbeddedAssets.h, which TARGET must
# reach from the source root. The source is made anew whenever a file changes.
#
# The generating step runs this same file in CMake's script mode, so that a
# cross build needs no program of its own for the build machine.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: -DEMBED_OUTPUT=... -DEMBED_FILES=a|b|c
  string(REPLACE "|" ";" files "${EMBED_FILES}")
  set(arrays "")
  set(table "")
  set(count 0)
  list(SORT files)
  foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME_WE)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    # Sixteen bytes to a line, each as 0xNN.
    string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
           "\\1\n    " hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const uint8_t kAsset${count}[${size}] = {\n    ${bytes}\n};\n\n")
    string(APPEND table "    {\"${name}\", kAsset${count}, ${size}},\n")
    math(EXPR count "${count} + 1")
  endforeach()
  set(content "// Made by cmake/EmbedAssets.cmake at build time; not to be edited.\n#include \"editor/assets/EmbeddedAssets.h\"\n\nnamespace {\n\n${arrays}const TEmbeddedAsset kAssets[] = {\n${table}};\n\n}  // namespace\n\nconst TEmbeddedAsset* FindEmbeddedAsset(std::string_view name) {\n  for (const TEmbeddedAsset& asset : kAssets) {\n    if (name == asset.Name) return &asset;\n  }\n  return nullptr;\n}\n\nsize_t EmbeddedAssetCount() { return ${count}; }\n\nconst TEmbeddedAsset& EmbeddedAssetAt(size_t index) { return kAssets[index]; }\n")
  # Written only when it differs, so that an unchanged result compiles nothing.
  file(WRITE "${EMBED_OUTPUT}.new" "${content}")
  file(COPY_FILE "${EMBED_OUTPUT}.new" "${EMBED_OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${EMBED_OUTPUT}.new")
  return()
endif()

set(ONDREL_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(ondrel_embed_assets target outdir)
  set(files "")
  foreach(file IN LISTS ARGN)
    get_filename_component(path "${file}" ABSOLUTE)
    list(APPEND files "${path}")
  endforeach()
  set(output "${outdir}/${target}_data.cpp")
  string(REPLACE ";" "|" joined "${files}")
  list(LENGTH files count)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" "-DEMBED_OUTPUT=${output}" "-DEMBED_FILES=${joined}" -P "${ONDREL_EMBED_SCRIPT}"
    DEPENDS ${files} "${ONDREL_EMBED_SCRIPT}"
    COMMENT "Embedding ${count} pictures in ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
