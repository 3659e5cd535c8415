# Copies the hand-written level files into the game's working directory.
file(GLOB levels "${SRC}/*")
file(MAKE_DIRECTORY "${DST}")
foreach(f ${levels})
  file(COPY "${f}" DESTINATION "${DST}")
endforeach()
