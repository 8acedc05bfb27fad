# Flags shared by every library, test and benchmark of the project.
add_library(vantrell_common INTERFACE)
target_compile_options(vantrell_common INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    -finput-charset=UTF-8 -fexec-charset=UTF-8
    # GCC's flow analysis at -O2 reports std::optional and std::variant members moved through
    # coroutine frames as "maybe uninitialized" (known false positives in GCC 12); the debug
    # build, which CI runs, keeps the warning.
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<NOT:$<CONFIG:Debug>>>:-Wno-maybe-uninitialized>)
target_compile_definitions(vantrell_common INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    RAPIDJSON_HAS_STDSTRING=1)
