#include "render.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include <QBuffer>
#include <QImage>

#include "cli_support.h"
#include "platform/system_clock.h"
#include "platform/system_files.h"
#include "sign_pictures.h"

namespace velora {
namespace {

const char* fontName(SignFont font) {
    return font == SignFont::Big ? "grande" : "normale";
}

// Makes `folder`, named by the system's own bytes. Every step reports its failure (a name too
// long, a loop of links, a file in the way) instead of throwing.
bool makeFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path path(folder);
    std::filesystem::create_directories(path, error);
    if (!error && !std::filesystem::is_directory(path, error) && !error)
        error = std::make_error_code(std::errc::not_a_directory);
    if (error) {
        std::cerr << "Impossibile creare la cartella " << folder << ": " << error.message()
                  << std::endl;
        return false;
    }
    return true;
}

// The picture's PNG bytes, written as a sequence file is saved: whole or not at all, so that a
// full disk never leaves an empty or cut picture, nor takes away a good one.
std::error_code savePicture(const QImage& image, const std::string& path) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return std::make_error_code(std::errc::io_error);
    return writeFileWhole(path,
                          std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

}  // namespace

int runRender(const std::vector<std::string>& args) {
    std::string input;
    std::string outDir;
    std::optional<int> onlyPage;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--out" || a == "--page") && i + 1 >= args.size())
            return usage(a + " vuole un valore.");
        if (a == "--out") {
            outDir = args[++i];
        } else if (a == "--page") {
            const std::string& text = args[++i];
            int n = 0;
            const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (problem != std::errc() || end != text.data() + text.size() || n < 1 ||
                n > kLastSlot)
                return usage("--page vuole un numero da 1 a 200.");
            onlyPage = n;
        } else if (input.empty() && !a.starts_with("--")) {
            input = a;
        } else {
            return usage("Argomento non valido: " + a);
        }
    }
    if (input.empty() || outDir.empty())
        return usage("Il comando render vuole FILE.inf e --out CARTELLA.");

    Modulo1 state;
    if (!loadSequence(input, state)) return kExitFailed;
    if (onlyPage && *onlyPage > state.PageCount) {
        std::cerr << "La sequenza ha " << int{state.PageCount} << " pagine: non c'è la pagina "
                  << *onlyPage << "." << std::endl;
        return kExitFailed;
    }

    const SystemClock clock;
    const std::optional<std::vector<PagePicture>> pictures =
        pagePictures(state, clock.now(), onlyPage);
    if (!pictures) {
        std::cerr << "La sequenza non si lascia leggere come l'insegna la riceve." << std::endl;
        return kExitFailed;
    }
    if (!makeFolder(outDir)) return kExitFailed;
    for (const PagePicture& picture : *pictures) {
        for (const MissingGlyph& missing : picture.missing) {
            std::fprintf(stderr,
                         "Pagina %d: il font %s non ha un carattere per l'indice 0x%02X; "
                         "compare vuoto.\n",
                         picture.number, fontName(missing.font), missing.index);
        }
        const std::string path =
            (std::filesystem::path(outDir) / pictureName(picture.number).toStdString()).string();
        if (const std::error_code error = savePicture(picture.image, path)) {
            std::cerr << "Impossibile scrivere " << path << ": " << error.message() << std::endl;
            return kExitFailed;
        }
        std::cout << path << std::endl;
    }
    return kExitOk;
}

}  // namespace velora
