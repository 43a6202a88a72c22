# The built-in artwork for a front end without Windows resources: the same
# payloads the resource script carries (res/art's PNGs packed by pngpack), as
# byte arrays in a generated C++ source.
#
#   tovik2_embedded_artwork(<target>)
#
# makes a static library <target> that defines EmbeddedArtwork()
# (images/embedded_artwork.h), an ArtworkPayloads over those arrays. Native
# trees only: pngpack runs where it is built.
function(tovik2_embedded_artwork target)
  set(art_in ${PROJECT_SOURCE_DIR}/res/art)
  set(art_out ${CMAKE_CURRENT_BINARY_DIR}/${target})
  set(names star star_large digits digits_mask poof version version_en)
  set(packed "")
  foreach(name ${names})
    add_custom_command(OUTPUT ${art_out}/${name}.bitarray
      COMMAND ${CMAKE_COMMAND} -E make_directory ${art_out}
      COMMAND pngpack ${art_in}/${name}.png ${art_out}/${name}.bitarray
      DEPENDS pngpack ${art_in}/${name}.png
      COMMENT "Packing ${name}.png for ${target}"
      VERBATIM)
    list(APPEND packed ${art_out}/${name}.bitarray)
  endforeach()
  add_custom_command(OUTPUT ${art_out}/embedded_payloads.cpp
    COMMAND ${CMAKE_COMMAND} -DOUT=${art_out}/embedded_payloads.cpp -DDIR=${art_out} "-DNAMES=${names}"
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_payloads.cmake
    DEPENDS ${packed} ${PROJECT_SOURCE_DIR}/cmake/embed_payloads.cmake
    COMMENT "Writing the artwork payloads of ${target} as C++"
    VERBATIM)
  add_library(${target} STATIC ${art_out}/embedded_payloads.cpp ${PROJECT_SOURCE_DIR}/images/embedded_artwork.cpp)
  target_link_libraries(${target} PUBLIC tovik2_rules)
endfunction()
