# Compiler settings shared by every target of the product.

# Product code: no exceptions, warnings on, static runtime on Windows.
function(tovik2_product_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -fno-exceptions)
  if(TOVIK2_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(WIN32)
  # Both deliverables must need no runtime DLL beside the system's own:
  # nivlet2.dll is mapped into every program that receives input.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX)
endif()

if(TOVIK2_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
