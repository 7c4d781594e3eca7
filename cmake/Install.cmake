# cmake --install: the VST 2 library in lib/vst and the LV2 bundle in
# lib/lv2 under the prefix (/usr/local/lib/vst and /usr/local/lib/lv2 are
# among the folders Linux hosts search). Binaries are installed as built; the
# release script and the install script strip them.
install(TARGETS Ondrel LIBRARY DESTINATION lib/vst COMPONENT plugin)

# The bundle is assembled in the build folder by the LV2 build (the sound
# library, its Turtle and the manifest; the UI library when it is built):
# installed whole, as the build left it.
if(TARGET ondrel_lv2_dsp)
  install(DIRECTORY ${ONDREL_LV2_BUNDLE} DESTINATION lib/lv2 COMPONENT plugin USE_SOURCE_PERMISSIONS)
endif()
