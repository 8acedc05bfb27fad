# Flags shared by every library, test and benchmark of the project.
add_library(vantrell_common INTERFACE)
target_compile_options(vantrell_common INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    -finput-charset=UTF-8 -fexec-charset=UTF-8)
target_compile_definitions(vantrell_common INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    RAPIDJSON_HAS_STDSTRING=1)
