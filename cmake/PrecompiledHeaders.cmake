# Precompiled headers: most of a translation unit's compile time went into the same standard,
# platform and test-framework headers. Each target compiles them once; the sources are
# unchanged (the headers are force-included first, and every one of them is include-guarded).
# BRENVALE_PCH=OFF builds without them, to check that every file still includes what it uses.
option(BRENVALE_PCH "Precompile the common headers" ON)
if(NOT BRENVALE_PCH)
  return()
endif()

set(brenvale_std_headers
  <algorithm> <array> <cstdint> <cstring> <functional> <map> <memory> <optional> <string>
  <string_view> <unordered_map> <utility> <vector>)
# The platform-free core sees the standard headers only: no <windows.h> may reach it.
set(brenvale_win_headers ${brenvale_std_headers} <windows.h> <commctrl.h> <shlobj.h>)

function(brenvale_pch target)
  if(TARGET ${target})
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

brenvale_pch(brenvale_core ${brenvale_std_headers})
brenvale_pch(core_tests ${brenvale_std_headers} <gtest/gtest.h>)
if(WIN32)
  foreach(target brenvale_win brenvale_app)
    brenvale_pch(${target} ${brenvale_win_headers})
  endforeach()
  foreach(target win_tests e2e_tests)
    brenvale_pch(${target} ${brenvale_win_headers} <gtest/gtest.h>)
  endforeach()
endif()
