# Moves a program's debugging information into a file beside it (NAME.exe.debug), linked from
# the program by name, so that debuggers still find it. A Windows program carries its DWARF
# sections inside the image: Brenvale.exe would be some 60 MB, of which 6 MB is the program,
# and under Wine the loader reads sections it cannot map straight from the file into private
# memory, so part of the debugging information would count as the running program's memory.
function(brenvale_split_debug_info target)
  if(NOT WIN32 OR NOT CMAKE_OBJCOPY)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug $<TARGET_FILE:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
