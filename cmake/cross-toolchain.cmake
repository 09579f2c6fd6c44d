# Cross-compiling toolchain for another Debian architecture, used by scripts/cross-test.sh:
# Debian's cross compiler for FRIBB3_CROSS_TRIPLE, with the target's libraries unpacked
# into the sysroot FRIBB3_CROSS_SYSROOT in their multiarch folders (FRIBB3_CROSS_MULTIARCH). Programs built here run on this machine through
# qemu-user (FRIBB3_CROSS_EMULATOR, also registered with binfmt_misc by the script for the
# programs the tests start), so the content tools run as built.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES FRIBB3_CROSS_TRIPLE FRIBB3_CROSS_MULTIARCH FRIBB3_CROSS_SYSROOT
    FRIBB3_CROSS_PROCESSOR FRIBB3_CROSS_EMULATOR)
if(NOT FRIBB3_CROSS_TRIPLE OR NOT FRIBB3_CROSS_MULTIARCH OR NOT FRIBB3_CROSS_SYSROOT)
  message(FATAL_ERROR "Set FRIBB3_CROSS_TRIPLE (e.g. i686-linux-gnu), FRIBB3_CROSS_MULTIARCH (i386-linux-gnu) and FRIBB3_CROSS_SYSROOT")
endif()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${FRIBB3_CROSS_PROCESSOR})
set(CMAKE_C_COMPILER ${FRIBB3_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${FRIBB3_CROSS_TRIPLE}-g++)
set(CMAKE_SYSROOT ${FRIBB3_CROSS_SYSROOT})
# Build steps and tests that run one of the project's programs start it through the emulator,
# which loads the target's libraries from the sysroot.
if(FRIBB3_CROSS_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FRIBB3_CROSS_EMULATOR} -L ${FRIBB3_CROSS_SYSROOT})
endif()
# Libraries of the sysroot live in both lib trees; the linker must see both for the
# libraries' own dependencies.
set(crossLibDirs ${FRIBB3_CROSS_SYSROOT}/lib/${FRIBB3_CROSS_MULTIARCH} ${FRIBB3_CROSS_SYSROOT}/usr/lib/${FRIBB3_CROSS_MULTIARCH})
foreach(dir IN LISTS crossLibDirs)
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,-rpath-link,${dir}")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " -Wl,-rpath-link,${dir}")
endforeach()

set(CMAKE_FIND_ROOT_PATH ${FRIBB3_CROSS_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_LIBRARY_ARCHITECTURE ${FRIBB3_CROSS_MULTIARCH})

# pkg-config reads only the target's .pc files and prefixes their paths with the sysroot.
set(ENV{PKG_CONFIG_DIR} "")
set(ENV{PKG_CONFIG_LIBDIR}
    "${FRIBB3_CROSS_SYSROOT}/usr/lib/${FRIBB3_CROSS_MULTIARCH}/pkgconfig:${FRIBB3_CROSS_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${FRIBB3_CROSS_SYSROOT})
