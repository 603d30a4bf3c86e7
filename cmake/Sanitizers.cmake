# KESTRUN_SANITIZE builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and turns warnings into errors; scripts/test uses it.
option(KESTRUN_SANITIZE "Build with ASan and UBSan, warnings as errors" OFF)
if(KESTRUN_SANITIZE)
    target_compile_options(kestrun_common_cfg INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined -Werror)
    target_link_options(kestrun_common_cfg INTERFACE -fsanitize=address,undefined)
endif()
