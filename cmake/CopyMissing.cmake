# cmake -DFROM=<dir> -DTO=<dir> -P CopyMissing.cmake
# Copies the files of FROM into TO when TO lacks them, so that a rebuild never overwrites a sample
# the user has edited.
file(GLOB_RECURSE files RELATIVE "${FROM}" "${FROM}/*")
foreach(f IN LISTS files)
  if(NOT EXISTS "${TO}/${f}")
    get_filename_component(dir "${TO}/${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY "${FROM}/${f}" DESTINATION "${dir}")
  endif()
endforeach()
