# How the binaries are compiled and linked, for the package and for every build tree, so that
# the package test checks the same protections on the package it builds from its own tree.
#
# BELQOR_OPCOES_DEBIAN: Debian's hardening flags, as dpkg-buildflags gives them to a package
# built with hardening=+all (stack protector, fortified libc calls, format checks, full RELRO
# and immediate binding). The optimisation and debug flags stay the build type's, and no
# folder is mapped (dpkg-buildflags would map the folder CMake happens to run in). Fortified
# calls need optimisation: glibc leaves them out of a Debug build by itself.
option(BELQOR_OPCOES_DEBIAN "Compila e liga com as opções de proteção do Debian (dpkg-buildflags)" ON)

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

