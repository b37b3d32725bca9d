# Path conversion for the capture device, free of poppler so that it is tested on its own; the
# engine links it.
add_library(quarnel_capture_geometry STATIC ${CMAKE_CURRENT_LIST_DIR}/path_conversion.cpp)
target_include_directories(quarnel_capture_geometry PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(quarnel_capture_geometry PUBLIC quarnel_platform quarnel_build_flags)
set_target_properties(quarnel_capture_geometry PROPERTIES POSITION_INDEPENDENT_CODE ON)
quarnel_forbid_poppler(quarnel_capture_geometry)
