# One target that carries the language standard, the warnings and the sanitizer options.
# Every target of the project links it instead of repeating flags.
add_library(velora_settings INTERFACE)
target_compile_features(velora_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

if(MSVC)
    target_compile_options(velora_settings INTERFACE /W4 /utf-8)
else()
    target_compile_options(velora_settings INTERFACE -Wall -Wextra -Wpedantic)
endif()

# Keep Qt code honest about text conversions and signals.
target_compile_definitions(velora_settings INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)

if(VELORA_SANITIZE)
    target_compile_options(velora_settings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(velora_settings INTERFACE -fsanitize=address,undefined)
endif()

# A GoogleTest executable for one folder of the model library.
function(velora_add_model_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE velora_model velora_settings GTest::gtest GTest::gtest_main
                                          GTest::gmock)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# A Qt Test executable that drives real widgets without a display.
function(velora_add_ui_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE velora_app velora_settings Qt6::Test)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        TIMEOUT 300)
endfunction()
