# The shipped defaults: the profiles and the decoder-mode table that live next to the executable.
# app/CMakeLists.txt includes this file and calls tp_copy_assets for the program.
set(TP_ASSETS_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TP_ASSET_FILES
    "DecoderMode.cfg"
    "Profiles/3G2 - Mobile Phone (176x144).pf"
    "Profiles/3GP - Mobile Phone (176x144).pf"
    "Profiles/3GP - Smartphone (320x240).pf"
    "Profiles/AVI - DivX High Quality (640x480).pf"
    "Profiles/AVI - MPEG-4 Same Size as Source.pf"
    "Profiles/AVI - XviD Standard Quality (320x240).pf"
    "Profiles/FLV - Web Video (320x240).pf"
    "Profiles/FLV - Web Video High Quality (640x480).pf"
    "Profiles/MOV - QuickTime H.264 (640x480).pf"
    "Profiles/MOV - QuickTime Standard (320x240).pf"
    "Profiles/MP4 - H.264 High Quality (640x480).pf"
    "Profiles/MP4 - PSP (320x240).pf"
    "Profiles/MP4 - iPod Video (320x240).pf"
    "Profiles/MPEG-1 - VCD (352x240 NTSC).pf"
    "Profiles/MPEG-1 - VCD (352x288 PAL).pf"
    "Profiles/MPEG-2 - DVD (720x480 NTSC).pf"
    "Profiles/MPEG-2 - DVD (720x576 PAL).pf"
    "Profiles/RM - Mobile Phone (176x144).pf"
    "Profiles/RM - Standard Quality (320x240).pf"
    "Profiles/RMVB - High Quality VBR (640x480).pf"
    "Profiles/WMV - High Quality (640x480).pf"
    "Profiles/WMV - Standard Quality (320x240).pf"
)

# A profile added to the folder but not to the list above would silently not ship; say so at once.
file(GLOB TP_ASSET_PROFILES_ON_DISK RELATIVE ${TP_ASSETS_DIR} "${TP_ASSETS_DIR}/Profiles/*.pf")
foreach(profile ${TP_ASSET_PROFILES_ON_DISK})
    if(NOT profile IN_LIST TP_ASSET_FILES)
        message(FATAL_ERROR "assets/${profile} is not listed in assets/Assets.cmake")
    endif()
endforeach()

# tp_copy_assets(<target> <folder>): copies every asset into <folder> before <target> is built, and again
# whenever an asset changes.
function(tp_copy_assets target folder)
    set(outputs)
    foreach(asset ${TP_ASSET_FILES})
        set(source "${TP_ASSETS_DIR}/${asset}")
        set(output "${folder}/${asset}")
        add_custom_command(OUTPUT "${output}"
            COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${output}"
            DEPENDS "${source}"
            COMMENT "Copying ${asset}"
            VERBATIM)
        list(APPEND outputs "${output}")
    endforeach()
    add_custom_target(${target}_assets DEPENDS ${outputs})
    add_dependencies(${target} ${target}_assets)
endfunction()
