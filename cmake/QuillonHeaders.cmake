# Header visibility, enforced by the build.
#
# Every target states its headers with quillon_headers(). A PUBLIC header is staged under
# <build>/include/<target>/public/<folder>/ and reaches whatever links the target; a
# PRIVATE header is staged under <build>/include/<target>/private/<folder>/ and reaches
# only the target itself. No target has the source root on its include path, so an
# include of a header another folder keeps to itself, or of a folder the target does not
# link (a layer above it), fails to compile. Includes keep their "folder/Header.h" form.
#
# A staged header is a one-line forward to the real file: compiler messages and editors
# point at the source, and editing a header needs no re-configure.

# quillon_headers(<target> [PUBLIC <header>...] [PRIVATE <header>...])
# For an INTERFACE library (test support headers) PUBLIC means INTERFACE.
function(quillon_headers target)
  cmake_parse_arguments(H "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  set(staged "")
  foreach(scope IN ITEMS PUBLIC PRIVATE)
    string(TOLOWER ${scope} part)
    foreach(header IN LISTS H_${scope})
      set(forward ${root}/${part}/${folder}/${header})
      file(CONFIGURE OUTPUT ${forward}
        CONTENT "#include \"${CMAKE_CURRENT_SOURCE_DIR}/${header}\"\n")
      list(APPEND staged ${forward})
      target_sources(${target} PRIVATE ${header})
    endforeach()
  endforeach()
  # A header taken off the lists stops being visible at the next configure.
  file(GLOB_RECURSE existing LIST_DIRECTORIES false ${root}/*)
  foreach(file IN LISTS existing)
    if(NOT file IN_LIST staged)
      file(REMOVE ${file})
    endif()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root}/public)
  else()
    target_include_directories(${target} PUBLIC ${root}/public PRIVATE ${root}/private)
  endif()
endfunction()

# quillon_sees_private_headers(<consumer> <library>...)
# For another target of the same folder, the folder's own tests and its benchmarks.
function(quillon_sees_private_headers consumer)
  foreach(library IN LISTS ARGN)
    target_include_directories(${consumer} PRIVATE ${CMAKE_BINARY_DIR}/include/${library}/private)
  endforeach()
endfunction()
