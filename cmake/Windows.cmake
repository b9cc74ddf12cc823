# Windows-only targets: the Win32 backend, the windows, the programs and the
# tests that run under Wine.
set(WIN_LINK_STATIC -static -static-libgcc -static-libstdc++)
set(WIN_SYSTEM_LIBS comctl32 shell32 shlwapi ole32 oleaut32 uuid gdi32 user32 advapi32 comdlg32 wininet
                    taskschd)

collect(WIN_SOURCES "win/*.cpp" "win32/*.cpp")
add_library(brim_win STATIC ${WIN_SOURCES})
target_link_libraries(brim_win PUBLIC brim_engine ${WIN_SYSTEM_LIBS})
target_compile_options(brim_win PRIVATE ${WARNINGS})
target_compile_definitions(brim_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                           _WIN32_WINNT=0x0601)

# A program of ours: linked statically against the Win32 backend, so that it
# needs no DLL beside it. Extra arguments (WIN32, resource files) go to
# add_executable.
function(add_brim_program name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE brim_win)
  target_link_options(${name} PRIVATE ${WIN_LINK_STATIC} -municode)
  target_compile_options(${name} PRIVATE ${WARNINGS})
endfunction()

# Pictures and the manifest, compiled by windres.
set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/app/res/brimsweep.rc)

add_brim_program(brimsweep WIN32 app/win/brimsweep_main.cpp ${RESOURCE_FILE})

collect(WIN_TESTS "tests/win/*.cpp")
add_executable(win_tests ${WIN_TESTS} ${RESOURCE_FILE})
# ws2_32: the tests' own HTTP server on 127.0.0.1; the programs never listen.
target_link_libraries(win_tests PRIVATE brim_win brim_fakes gtest ws2_32)
target_link_options(win_tests PRIVATE ${WIN_LINK_STATIC})
target_compile_options(win_tests PRIVATE ${WARNINGS})
add_test(NAME win_tests COMMAND win_tests)

# A program that only waits: the cleaner tests run copies of it as chrome.exe.
add_executable(test_sleeper WIN32 cleaners/tests/win/helper/sleeper_main.cpp)
target_link_options(test_sleeper PRIVATE ${WIN_LINK_STATIC} -municode)
target_compile_options(test_sleeper PRIVATE ${WARNINGS})
add_dependencies(win_tests test_sleeper)


target_link_options(engine_tests PRIVATE ${WIN_LINK_STATIC})

# A cleanup handler of our own for the tests (Wine registers none): the tests
# register it from beside win_tests.exe. Never shipped.
set(TEST_HANDLER_DIR ${CMAKE_SOURCE_DIR}/cleaners/tests/win/handler)
add_library(cleanup_test_handler SHARED ${TEST_HANDLER_DIR}/TestCleanupHandler.cpp
            ${TEST_HANDLER_DIR}/TestCleanupHandler.def ${TEST_HANDLER_DIR}/TestCleanupHandler.rc)
set_target_properties(cleanup_test_handler PROPERTIES PREFIX "")
target_compile_definitions(cleanup_test_handler PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
target_compile_options(cleanup_test_handler PRIVATE ${WARNINGS})
target_link_libraries(cleanup_test_handler PRIVATE ole32 uuid)
target_link_options(cleanup_test_handler PRIVATE ${WIN_LINK_STATIC})
add_dependencies(win_tests cleanup_test_handler)

# The companion that clean.bat runs first: clears the attributes of the files
# the batch deletes. Windowless, self-contained like the program.
add_brim_program(deletebat WIN32 clean/deletebat/deletebat_main.cpp)
# The integration tests run it from beside win_tests.exe.
add_dependencies(win_tests deletebat)

# uninstall.exe: removes the program, its entries and links, and keeps the
# backups. Windowless but for its question.
add_brim_program(uninstall WIN32 app/uninstall/uninstall_main.cpp)
add_dependencies(win_tests uninstall)

# bck.exe: the archive tool beside the program (list, test, extract, pack).
add_brim_program(bck backup/tool/bck_main.cpp)
# The archive tests run it from beside win_tests.exe.
add_dependencies(win_tests bck)
# The start-up test runs the program itself.
add_dependencies(win_tests brimsweep)

# bck once more with Wine's own zlib1.dll switched off, as on a bare Windows.
# (The windowed programs cannot be tried so: this Wine's user32.dll itself
# imports zlib1.dll. The import-table test covers them.)
add_test(NAME bck_starts_without_zlib1 COMMAND bck)
set_tests_properties(bck_starts_without_zlib1 PROPERTIES
                     ENVIRONMENT "WINEDLLOVERRIDES=mscoree,mshtml,zlib1="
                     PASS_REGULAR_EXPRESSION "usage: bck")

# brimclean.exe: the Files and Registry Find and Delete from the command line.
add_brim_program(brimclean app/cleantool/brimclean_main.cpp)
# The command-line tests run it from beside win_tests.exe.
add_dependencies(win_tests brimclean)

# scan_bench.exe: times the Files Find against a bare directory walk
# (scripts/bench-scan.sh runs it); not part of the tests.
add_brim_program(scan_bench clean/bench/scan_bench_main.cpp)

# brimclean_bench.exe: times brimclean's Files Find against the bare walk, with
# and without a 1,000-pattern keep list (scripts/bench-brimclean.sh runs it).
add_brim_program(brimclean_bench bench/brimclean_bench_main.cpp)

# delete_bench.exe: times a Delete with backup through the deletion door
# against the same Delete by path names (scripts/bench-brimclean.sh runs it).
add_brim_program(delete_bench clean/bench/delete_bench_main.cpp)
target_link_libraries(delete_bench PRIVATE brim_fakes)

# regscan_bench.exe: times the main window's Registry Find against a bare
# enumeration of the same keys (scripts/bench-regscan.sh runs it); not part of
# the tests. The window needs the program's pictures and manifest.
add_brim_program(regscan_bench bench/regscan_bench_main.cpp ${RESOURCE_FILE})

# folders_bench.exe: times the folder-usage gathering through its page against
# a bare directory walk, and walking in and out of the gathered tree
# (scripts/bench-folders.sh runs it); not part of the tests.
add_brim_program(folders_bench folders/bench/folders_bench_main.cpp)

# memory_bench.exe: times a 1 GiB refresh and an idle monitor tick
# (scripts/bench-memory.sh runs it); not part of the tests.
add_brim_program(memory_bench memory/bench/memory_bench_main.cpp)

# The help page goes beside the programs, where they open it.
configure_file(${CMAKE_SOURCE_DIR}/app/res/brimsweep.html ${CMAKE_BINARY_DIR}/brimsweep.html
               COPYONLY)

# Every program we ship must load on a bare Windows: only system DLLs in its
# import table (zlib, libgcc and libstdc++ are linked in).
set(SHIPPED_PROGRAMS brimsweep bck brimclean deletebat uninstall)
set(shipped_files "")
foreach(program ${SHIPPED_PROGRAMS})
  list(APPEND shipped_files $<TARGET_FILE:${program}>)
endforeach()
# The setup program (NSIS) and the portable zip, both named by the version.
set(BRIM_PUBLISHER "Tarn" CACHE STRING "Publisher shown in the uninstall entry")
# The compiled-in HomePage default of brimsweep.ini's [Endpoints].
set(BRIM_URL_INFO_ABOUT "http://www.ostrand.example/"
    CACHE STRING "Address shown in the uninstall entry (URLInfoAbout)")
find_program(MAKENSIS makensis REQUIRED)
set(SETUP_FILE ${CMAKE_BINARY_DIR}/brimsweep-setup-${PROJECT_VERSION}.exe)
set(SETUP_SCRIPT ${CMAKE_SOURCE_DIR}/installer/brimsweep.nsi)
set(SHIPPED_FILES_DEPENDS ${SHIPPED_PROGRAMS} ${CMAKE_BINARY_DIR}/brimsweep.html)
add_custom_command(
  OUTPUT ${SETUP_FILE}
  COMMAND ${MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DBUILD_DIR=${CMAKE_BINARY_DIR}
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUTFILE=${SETUP_FILE}
          -DPUBLISHER=${BRIM_PUBLISHER} -DURL_INFO_ABOUT=${BRIM_URL_INFO_ABOUT} ${SETUP_SCRIPT}
  DEPENDS ${SETUP_SCRIPT} ${SHIPPED_FILES_DEPENDS} ${CMAKE_SOURCE_DIR}/app/res/brimsweep.ico
  COMMENT "Building brimsweep-setup-${PROJECT_VERSION}.exe"
  VERBATIM)
add_custom_target(setup ALL DEPENDS ${SETUP_FILE})
# The setup tests run it from beside win_tests.exe.
add_dependencies(win_tests setup)

configure_file(${CMAKE_SOURCE_DIR}/installer/PORTABLE.txt ${CMAKE_BINARY_DIR}/PORTABLE.txt @ONLY)
set(PORTABLE_ZIP ${CMAKE_BINARY_DIR}/brimsweep-portable-${PROJECT_VERSION}.zip)
set(PORTABLE_STAGE ${CMAKE_BINARY_DIR}/portable)
set(PORTABLE_FOLDER "Tarn Brimsweep Pro")
add_custom_command(
  OUTPUT ${PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PORTABLE_STAGE} ${PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PORTABLE_STAGE}/${PORTABLE_FOLDER}
  COMMAND ${CMAKE_COMMAND} -E copy ${shipped_files} ${CMAKE_BINARY_DIR}/brimsweep.html
          ${CMAKE_BINARY_DIR}/PORTABLE.txt ${PORTABLE_STAGE}/${PORTABLE_FOLDER}
  COMMAND ${CMAKE_COMMAND} -E chdir ${PORTABLE_STAGE} ${CMAKE_COMMAND} -E tar cf ${PORTABLE_ZIP}
          --format=zip ${PORTABLE_FOLDER}
  DEPENDS ${SHIPPED_FILES_DEPENDS} ${CMAKE_BINARY_DIR}/PORTABLE.txt
  COMMENT "Building brimsweep-portable-${PROJECT_VERSION}.zip"
  VERBATIM)
add_custom_target(portable ALL DEPENDS ${PORTABLE_ZIP})

find_program(MINGW_OBJDUMP NAMES ${TOOLCHAIN_PREFIX}-objdump x86_64-w64-mingw32-objdump objdump
             REQUIRED)
add_test(NAME shipped_imports
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${MINGW_OBJDUMP} "-DPROGRAMS=${shipped_files};${SETUP_FILE}"
                 -P ${CMAKE_SOURCE_DIR}/cmake/CheckImports.cmake)

# cleaners_bench.exe: reads and detects the community's winapp2.ini, and times
# the built-in cleaners' Find against a bare walk (scripts/bench-cleaners.sh
# runs it); not part of the tests.
add_brim_program(cleaners_bench cleaners/bench/cleaners_bench_main.cpp)
