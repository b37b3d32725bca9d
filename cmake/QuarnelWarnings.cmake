# Compiler warnings and sanitizers shared by every target of the project.
add_library(quarnel_build_flags INTERFACE)
target_compile_options(quarnel_build_flags INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual>
  $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wshadow>)
if(QUARNEL_WARNINGS_AS_ERRORS)
  target_compile_options(quarnel_build_flags INTERFACE -Werror)
endif()
if(QUARNEL_ENABLE_ASAN)
  target_compile_options(quarnel_build_flags INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quarnel_build_flags INTERFACE -fsanitize=address,undefined)
endif()
