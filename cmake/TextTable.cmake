# Embeds the translators' UTF-8 files core/lang/<code>.txt into the program as
# raw string literals; the table is parsed from them on first use. The files
# stay plain text that a translator edits without touching C++.
set(TEXT_LANGUAGES "tr:0" "en:1" "fr:2" "de:3" "nl:5" "ro:6" "ca:8" "sk:9")
set(TEXT_TABLE_SOURCE ${CMAKE_BINARY_DIR}/generated/TextTableData.cpp)

set(blocks "")
set(inputs "")
foreach(entry ${TEXT_LANGUAGES})
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 code)
  list(GET parts 1 index)
  set(file ${CMAKE_SOURCE_DIR}/core/lang/${code}.txt)
  list(APPEND inputs ${file})
  file(READ ${file} content)
  string(FIND "${content}" ")~lang~\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} contains the literal terminator )~lang~\"")
  endif()
  string(APPEND blocks "    {${index}, R\"~lang~(${content})~lang~\"},\n")
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${inputs})

file(CONFIGURE OUTPUT ${TEXT_TABLE_SOURCE} CONTENT
"// Generated from core/lang/*.txt by cmake/TextTable.cmake; edit those files.
#include \"core/TextTableData.h\"

namespace bs {

const LanguageBlockSource LanguageBlockSources[] = {
${blocks}};

const int LanguageBlockSourceCount = sizeof LanguageBlockSources / sizeof LanguageBlockSources[0];

} // namespace bs
" @ONLY)
