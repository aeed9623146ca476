# Settings shared by every target of this project (not by GoogleTest).
#
# Source files are UTF-8; narrow string literals are stored as Shift-JIS
# (code page 932), the encoding of every text this program shows.
#
# Only GCC converts literals to Shift-JIS. clang builds nothing but the
# fuzzer, whose checks do not depend on how the texts are encoded.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(VALTEA_CHARSET_OPTIONS -finput-charset=UTF-8 -fexec-charset=CP932)
elseif(VALTEA_FUZZ AND NOT VALTEA_TESTS)
  set(VALTEA_CHARSET_OPTIONS)
else()
  message(FATAL_ERROR "The program's texts need GCC's -fexec-charset=CP932; build it with g++.")
endif()

function(valtea_target target)
  target_compile_options(${target} PRIVATE ${VALTEA_CHARSET_OPTIONS} -Wall -Wextra -Wpedantic)
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/src")
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "EXECUTABLE")
      # No build time in the PE header, so that a build from the same sources
      # gives the same bytes.
      target_link_options(${target} PRIVATE -static -Wl,--no-insert-timestamp)
    endif()
  endif()
  if(VALTEA_SANITIZE AND NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
