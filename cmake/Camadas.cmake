# The layers, from the bottom up (docs/ARCHITECTURE.md): a folder's targets may link the
# targets of its own folder and of folders on a lower level, never of one on the same level
# or above. Checked once every folder has been added, so a link that breaks the order stops
# the configuration instead of growing a cycle unnoticed.
set(BELQOR_NIVEIS
    valores=0
    sistema=1 dialogos=1
    tabela=2 rede=2 planilhas=2
    widgets=3 service=3
    framework=4
    ratetable=5
    calc=6 refresh=6
    demonstrativo=7
    historico=8
    app=9 cli=9)

function(belqor_nivel_da_pasta pasta saida)
    set(${saida} "" PARENT_SCOPE)
    foreach(par IN LISTS BELQOR_NIVEIS)
        string(REPLACE "=" ";" par "${par}")
        list(GET par 0 nome)
        list(GET par 1 nivel)
        if(nome STREQUAL pasta)
            set(${saida} ${nivel} PARENT_SCOPE)
        endif()
    endforeach()
endfunction()

# The layer folder a target was defined in: the first component of its source folder.
function(belqor_pasta_do_alvo alvo saida)
    get_target_property(fonte ${alvo} SOURCE_DIR)
    file(RELATIVE_PATH relativo ${PROJECT_SOURCE_DIR} ${fonte})
    string(REGEX REPLACE "/.*" "" pasta "${relativo}")
    set(${saida} ${pasta} PARENT_SCOPE)
endfunction()

function(belqor_alvos_da_pasta diretorio saida)
    get_directory_property(alvos DIRECTORY ${diretorio} BUILDSYSTEM_TARGETS)
    get_directory_property(subpastas DIRECTORY ${diretorio} SUBDIRECTORIES)
    foreach(sub IN LISTS subpastas)
        belqor_alvos_da_pasta(${sub} mais)
        list(APPEND alvos ${mais})
    endforeach()
    set(${saida} ${alvos} PARENT_SCOPE)
endfunction()

function(belqor_confere_camadas)
    foreach(pasta IN LISTS BELQOR_PASTAS)
        belqor_nivel_da_pasta(${pasta} nivel)
        if(nivel STREQUAL "")
            message(FATAL_ERROR "A pasta ${pasta} não tem nível em cmake/Camadas.cmake")
        endif()
        belqor_alvos_da_pasta(${PROJECT_SOURCE_DIR}/${pasta} alvos)
        foreach(alvo IN LISTS alvos)
            get_target_property(ligados ${alvo} LINK_LIBRARIES)
            if(NOT ligados)
                continue()
            endif()
            foreach(ligado IN LISTS ligados)
                if(NOT TARGET ${ligado})
                    continue()
                endif()
                get_target_property(importado ${ligado} IMPORTED)
                if(importado)
                    continue()
                endif()
                belqor_pasta_do_alvo(${ligado} outra)
                if(outra STREQUAL pasta)
                    continue()
                endif()
                belqor_nivel_da_pasta(${outra} nivelOutra)
                if(nivelOutra STREQUAL "" OR NOT nivelOutra LESS nivel)
                    message(FATAL_ERROR "${alvo} (${pasta}) liga ${ligado} (${outra}), que não "
                        "está numa camada abaixo: veja docs/ARCHITECTURE.md")
                endif()
            endforeach()
        endforeach()
    endforeach()
endfunction()
