# Copies ORIGEM to DESTINO only when DESTINO does not exist yet.
if(NOT EXISTS "${DESTINO}")
    get_filename_component(pasta "${DESTINO}" DIRECTORY)
    file(MAKE_DIRECTORY "${pasta}")
    file(COPY_FILE "${ORIGEM}" "${DESTINO}")
endif()
