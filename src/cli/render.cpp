#include "render.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QImage>

#include "cli_support.h"
#include "led_picture.h"
#include "link/sign_messages.h"
#include "platform/system_clock.h"
#include "protocol/page_record.h"
#include "sign/sign_face.h"

namespace velora {
namespace {

// Pixels per LED dot in the pictures: a sign of 24 characters is 1168 pixels wide.
constexpr int kPitch = 8;

std::string pictureName(int page) {
    char name[32];
    std::snprintf(name, sizeof name, "pagina-%03d.png", page);
    return name;
}

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

// Writes a picture as a sequence file is saved: into a new file beside the old one, which takes
// its name only once every byte has reached the disk, so that a full disk never leaves an empty or
// cut picture, nor takes away a good one. The name goes to the system as its own bytes: Qt's file
// classes would decode it as UTF-8, and a folder named in Latin-1 would become another folder.
bool replaceFile(const std::string& path, const QByteArray& bytes) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return false;
    // mkstemp makes the file for its owner only; a picture is as readable as any other new file.
    const mode_t mask = umask(0);
    umask(mask);
    bool written = fchmod(fd, 0666 & ~mask) == 0;
    for (qsizetype done = 0; written && done < bytes.size();) {
        const ssize_t count =
            write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (count > 0)
            done += count;
        else
            written = count < 0 && errno == EINTR;
    }
    written = written && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    const int reason = errno;  // for the message, past the clean-up
    std::remove(temporary.c_str());
    errno = reason;
    return false;
}

bool savePicture(const QImage& image, const std::string& path) {
    QByteArray png;
    QBuffer buffer(&png);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG") &&
           replaceFile(path, png);
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

    // The pictures are drawn from the bytes the sign would be sent, read back as the sign reads
    // them; info rows show this computer's clock.
    const std::optional<std::vector<SignPage>> pages = decodeUpload(uploadStream(state).values());
    if (!pages) {
        std::cerr << "La sequenza non si lascia leggere come l'insegna la riceve." << std::endl;
        return kExitFailed;
    }
    if (!makeFolder(outDir)) return kExitFailed;
    const SystemClock clock;
    LedPicture picture;
    for (int number = 1; number <= static_cast<int>(pages->size()); ++number) {
        if (onlyPage && number != *onlyPage) continue;
        const SignFace face =
            renderSignFace((*pages)[static_cast<std::size_t>(number - 1)], 0.0, clock.now());
        for (const MissingGlyph& missing : face.missing) {
            std::fprintf(stderr,
                         "Pagina %d: il font %s non ha un carattere per l'indice 0x%02X; "
                         "compare vuoto.\n",
                         number, fontName(missing.font), missing.index);
        }
        const std::string path = (std::filesystem::path(outDir) / pictureName(number)).string();
        if (!savePicture(picture.image(face, kPitch), path)) {
            std::cerr << "Impossibile scrivere " << path << ": " << std::strerror(errno)
                      << std::endl;
            return kExitFailed;
        }
        std::cout << path << std::endl;
    }
    return kExitOk;
}

}  // namespace velora
