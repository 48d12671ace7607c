# cmake -DBUILD=... -DPREFIX=... -DLIBDIR=... -P InstallTest.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(expected bin/hexlane bin/hexlane-tool ${LIBDIR}/liborbiscarta.so share/applications/hexlane.desktop
    share/mime/packages/hexlane.xml share/icons/hicolor/scalable/apps/hexlane.svg)
foreach(px 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${px}x${px}/apps/hexlane.png)
endforeach()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(SEND_ERROR "not installed: ${file}")
  endif()
endforeach()

find_program(validate desktop-file-validate)
if(NOT validate)
  message(FATAL_ERROR "desktop-file-validate is missing (scripts/setup.sh installs desktop-file-utils)")
endif()
execute_process(COMMAND ${validate} ${PREFIX}/share/applications/hexlane.desktop
                RESULT_VARIABLE invalid OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(invalid OR said MATCHES "error")
  message(SEND_ERROR "desktop entry: ${said}")
endif()

file(READ ${PREFIX}/share/mime/packages/hexlane.xml mime)
if(NOT mime MATCHES "<match type=\"string\" offset=\"0\" value=\"TPF0\"/>" OR NOT mime MATCHES "pattern=\"\\*\\.map\"")
  message(SEND_ERROR "the map file type is not matched by its signature and extension")
endif()

# The installed tool plots a world map through the installed library, run
# from a folder that holds no library.
file(MAKE_DIRECTORY ${PREFIX}/elsewhere)
execute_process(COMMAND ${PREFIX}/bin/hexlane-tool worldmap world.bmp --seed 3 --faults 500 --width 64 --height 48
                WORKING_DIRECTORY ${PREFIX}/elsewhere RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(failed OR NOT EXISTS ${PREFIX}/elsewhere/world.bmp)
  message(SEND_ERROR "the installed tool did not find the installed library: ${said}")
endif()
file(REMOVE_RECURSE ${PREFIX})
