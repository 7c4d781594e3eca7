# 32-bit x86 Linux: the closest this machine comes to running the home
# platform's ABI (4-byte pointers, the 144-byte record, cdecl, x87 floating
# point in extended precision). Built with g++-multilib, run through qemu's
# user-mode emulator, because the build machines' kernels may not execute
# 32-bit code themselves.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)

# Libraries come from Debian's i386 multiarch folder (libsndfile1-dev:i386 and
# friends); the amd64 ones beside them must never be picked up.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu /usr/include/x86_64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig)

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-i386-static)
# Known to the code: what cannot be observed under the emulator is skipped
# there, and programs the tests start go through the emulator too.
add_compile_definitions(ONDREL_UNDER_EMULATOR)
