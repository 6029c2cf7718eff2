#include "cli.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// Windows hands main() its arguments in the ANSI code page, where a file name with letters
// outside it is lost: they are taken from the wide command line instead, as UTF-8, the
// encoding of every name the program passes to its files. What it prints is UTF-8 too.
int main() {
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return 1;
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const int length =
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
        if (length > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), length, nullptr, nullptr);
        arguments.push_back(std::move(text));
    }
    LocalFree(wide);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return velora::runCli(count, argv.data());
}
#else
int main(int argc, char* argv[]) {
    return velora::runCli(argc, argv);
}
#endif
