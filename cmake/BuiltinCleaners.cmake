# Embeds our built-in cleaners, cleaners/BuiltinCleaners.ini (the winapp2.ini
# format), into the program as one raw string literal, read by the same
# reader as the community's file. The .ini stays the file we edit.
set(BUILTIN_CLEANERS_SOURCE ${CMAKE_BINARY_DIR}/generated/BuiltinCleanersText.cpp)
set(builtin_ini ${CMAKE_SOURCE_DIR}/cleaners/BuiltinCleaners.ini)
file(READ ${builtin_ini} builtin_text)
string(FIND "${builtin_text}" ")~ini~\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${builtin_ini} contains the literal terminator )~ini~\"")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${builtin_ini})
file(CONFIGURE OUTPUT ${BUILTIN_CLEANERS_SOURCE} CONTENT
"// Generated from cleaners/BuiltinCleaners.ini by cmake/BuiltinCleaners.cmake; edit that file.
#include \"cleaners/BuiltinCleaners.h\"

namespace bs {

std::string_view BuiltInCleanersText() {
    return R\"~ini~(${builtin_text})~ini~\";
}

} // namespace bs
" @ONLY)
