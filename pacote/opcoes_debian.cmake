# How the binaries are compiled and linked, for the package and for every build tree, so that
# the package test checks the same protections on the package it builds from its own tree.
#
# BELQOR_OPCOES_DEBIAN: Debian's hardening flags, as dpkg-buildflags gives them to a package
# built with hardening=+all (stack protector, fortified libc calls, format checks, full RELRO
# and immediate binding). The optimisation and debug flags stay the build type's, and the
# source path is mapped below instead of by dpkg-buildflags (which would map the folder
# CMake happens to run in). Fortified calls need optimisation: glibc leaves them out of a
# Debug build by itself.
#
# BELQOR_REPRODUTIVEL (tools/empacota turns it on): no folder of this machine is written into
# a binary, so two builds of one commit in different folders give the same bytes. Off by
# default, because a debugger then needs to be told where the sources are.
option(BELQOR_OPCOES_DEBIAN "Compila e liga com as opções de proteção do Debian (dpkg-buildflags)" ON)
option(BELQOR_REPRODUTIVEL "Não grava nos binários as pastas da fonte e do build" OFF)

if(BELQOR_OPCOES_DEBIAN)
    find_program(BELQOR_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
    foreach(tipo CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env
                "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
                "DEB_CXXFLAGS_MAINT_STRIP=-g -O2"
                ${BELQOR_DPKG_BUILDFLAGS} --get ${tipo}
            OUTPUT_VARIABLE valor OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(valor UNIX_COMMAND "${valor}")
        set(opcoesDebian_${tipo} ${valor})
    endforeach()
    add_compile_options(${opcoesDebian_CPPFLAGS} ${opcoesDebian_CXXFLAGS})
    add_link_options(${opcoesDebian_LDFLAGS})
endif()

if(BELQOR_REPRODUTIVEL)
    # The last map that matches wins: a build folder inside the source folder is still
    # written as the build's own ".".
    add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                        -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
endif()
