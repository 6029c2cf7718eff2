# One target that carries the language standard, the warnings and the sanitizer options.
# Every target of the project links it instead of repeating flags.
add_library(velora_settings INTERFACE)
target_compile_features(velora_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

if(MSVC)
    target_compile_options(velora_settings INTERFACE /W4 /utf-8)
else()
    target_compile_options(velora_settings INTERFACE
        -Wall -Wextra -Wpedantic
        -Wold-style-cast -Woverloaded-virtual -Wnon-virtual-dtor -Wcast-qual -Wshadow)
endif()
if(VELORA_WERROR)
    target_compile_options(velora_settings INTERFACE $<IF:$<CXX_COMPILER_ID:MSVC>,/WX,-Werror>)
endif()

# The program's version, defined once: VELORA_VERSION in velora_version.h.
configure_file(${CMAKE_CURRENT_LIST_DIR}/velora_version.h.in
               ${PROJECT_BINARY_DIR}/generated/velora_version.h @ONLY)
target_include_directories(velora_settings INTERFACE ${PROJECT_BINARY_DIR}/generated)

# moc and rcc for a target that uses Qt's meta-objects or resources; the Qt-free targets never
# run them.
function(velora_qt_target name)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
endfunction()

# Keep Qt code honest about text conversions and signals.
target_compile_definitions(velora_settings INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)

if(VELORA_SANITIZE)
    target_compile_options(velora_settings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(velora_settings INTERFACE -fsanitize=address,undefined)
endif()

# Precompiled headers for the Qt-heavy targets: Qt's Widgets and Test headers are most of what
# their files compile. The views and the composition share one set; the UI tests of a folder
# another, compiled with the first of them and reused by the others (Qt Test defines the folder
# in a macro, so a folder cannot reuse another's).
set(VELORA_QT_WIDGETS_HEADERS
    <QApplication> <QCheckBox> <QComboBox> <QKeyEvent> <QLabel> <QLayout> <QLineEdit> <QPainter>
    <QPushButton> <QString> <QTimer> <QWidget> <functional> <memory> <optional> <string> <vector>)
set(VELORA_UI_TEST_HEADERS
    ${VELORA_QT_WIDGETS_HEADERS} <QtTest> <QAction> <QDir> <QFile> <QMessageBox> <QSettings>
    <QTemporaryDir>)

function(velora_ui_test_headers name)
    get_property(owner DIRECTORY PROPERTY VELORA_UI_TEST_PCH)
    if(owner)
        target_precompile_headers(${name} REUSE_FROM ${owner})
    else()
        target_precompile_headers(${name} PRIVATE ${VELORA_UI_TEST_HEADERS})
        set_property(DIRECTORY PROPERTY VELORA_UI_TEST_PCH ${name})
    endif()
endfunction()

# A GoogleTest executable for one folder of the model library.
function(velora_add_model_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE velora_model velora_settings GTest::gtest GTest::gtest_main
                                          GTest::gmock)
    # One compilation for the folder's files: GoogleTest's headers are most of what each of them
    # compiles. Helpers in a test file's unnamed namespace must therefore not share a name with
    # another file's of the same folder.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    if(MINGW)
        # The compiler's runtime inside the program: Wine needs no DLL beside it.
        target_link_options(${name} PRIVATE -static)
    endif()
    if(CMAKE_CROSSCOMPILING)
        # One run of the whole program: under an emulator, starting it once per test case would
        # cost far more than the tests themselves.
        add_test(NAME ${name} COMMAND ${name})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()

# The environment of a test that gives it a home folder of its own under the build tree, so that
# what Qt or the program keeps in the user's folders (settings, the file dialog's last folder)
# never lands in the real home of whoever runs the tests.
function(velora_test_home out name)
    set(home ${CMAKE_CURRENT_BINARY_DIR}/${name}-home)
    file(MAKE_DIRECTORY ${home}/.config ${home}/.local/share ${home}/.cache)
    set(${out} "HOME=${home};XDG_CONFIG_HOME=${home}/.config;XDG_DATA_HOME=${home}/.local/share;XDG_CACHE_HOME=${home}/.cache"
        PARENT_SCOPE)
endfunction()

# A Qt Test executable that drives real widgets without a display.
function(velora_add_ui_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE velora_app velora_settings Qt6::Test)
    velora_qt_target(${name})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    velora_ui_test_headers(${name})
    add_test(NAME ${name} COMMAND ${name})
    velora_test_home(home ${name})
    set(environment QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 ${home} ${VELORA_WINE_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 300)
endfunction()
