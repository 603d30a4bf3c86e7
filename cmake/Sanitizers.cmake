# KESTRUN_SANITIZE builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; scripts/test uses it.
option(KESTRUN_SANITIZE "Build with ASan and UBSan" OFF)
if(KESTRUN_SANITIZE)
    target_compile_options(kestrun_common_cfg INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(kestrun_common_cfg INTERFACE -fsanitize=address,undefined)
endif()
