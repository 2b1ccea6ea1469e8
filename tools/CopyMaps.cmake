# SPDX-License-Identifier: GPL-3.0-or-later
# Copies the shipped level files from SRC to DST and makes the copies read-only.
file(MAKE_DIRECTORY ${DST})
file(GLOB maps ${SRC}/mapa*)
foreach(map ${maps})
    get_filename_component(name ${map} NAME)
    if(EXISTS ${DST}/${name})
        file(CHMOD ${DST}/${name} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()
    file(COPY ${map} DESTINATION ${DST}
         FILE_PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
endforeach()
