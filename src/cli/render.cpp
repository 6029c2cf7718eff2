#include "render.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include <QImage>
#include <QString>

#include "files/sequence_file.h"
#include "platform/system_clock.h"
#include "sign_pictures.h"

namespace velora {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 64;

const char* const kRenderUsage =
    "Uso: velora-cli render FILE.inf --out CARTELLA [--page N]\n"
    "Scrive ogni pagina (o la sola pagina N) come immagine dell'insegna, pagina-NNN.png;\n"
    "una riga scorrevole compare al suo primo passo.\n";

int usage(const std::string& problem) {
    std::cerr << problem << "\n\n" << kRenderUsage;
    return kExitUsage;
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in || in.bad()) return std::nullopt;
    return bytes.str();
}

const char* fontName(SignFont font) {
    return font == SignFont::Big ? "grande" : "normale";
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
    if (input.empty() || outDir.empty()) return usage("Servono FILE.inf e --out CARTELLA.");

    const std::optional<std::string> bytes = readFile(input);
    const std::optional<SequenceFile> file = bytes ? parseSequenceFile(*bytes) : std::nullopt;
    if (!file) {
        std::cerr << "File NON trovato!!" << std::endl;
        return kExitFailed;
    }
    Modulo1 state;
    applySequenceFile(state, *file);
    if (onlyPage && *onlyPage > state.PageCount) {
        std::cerr << "La sequenza ha " << int{state.PageCount} << " pagine: non c'è la pagina "
                  << *onlyPage << "." << std::endl;
        return kExitFailed;
    }

    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!std::filesystem::is_directory(outDir)) {
        std::cerr << "Impossibile creare la cartella " << outDir << std::endl;
        return kExitFailed;
    }

    const SystemClock clock;
    const std::optional<std::vector<PagePicture>> pictures =
        pagePictures(state, clock.now(), onlyPage);
    if (!pictures) {
        std::cerr << "La sequenza non si lascia leggere come l'insegna la riceve." << std::endl;
        return kExitFailed;
    }
    for (const PagePicture& picture : *pictures) {
        for (const MissingGlyph& missing : picture.missing) {
            std::fprintf(stderr,
                         "Pagina %d: il font %s non ha un carattere per l'indice 0x%02X; "
                         "compare vuoto.\n",
                         picture.number, fontName(missing.font), missing.index);
        }
        const std::filesystem::path path =
            std::filesystem::path(outDir) / pictureName(picture.number).toStdString();
        if (!picture.image.save(QString::fromStdString(path.string()), "PNG")) {
            std::cerr << "Impossibile scrivere " << path.string() << std::endl;
            return kExitFailed;
        }
        std::cout << path.string() << std::endl;
    }
    return kExitOk;
}

}  // namespace velora
