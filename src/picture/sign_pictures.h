#pragma once

#include <optional>
#include <vector>

#include <QImage>
#include <QString>

#include "core/clock.h"
#include "core/modulo1.h"
#include "sign/sign_face.h"

namespace velora {

// One page of a sequence as a picture of the sign, as the page comes up (a scrolling row at its
// first step).
struct PagePicture {
    int number = 0;  // 1 for the first page
    int pause = 0;   // seconds
    QImage image;
    std::vector<MissingGlyph> missing;  // characters the sign's fonts draw as blanks
};

// Pixels per LED dot in the pictures: a sign of 24 characters is 1168 pixels wide.
inline constexpr int kPicturePitch = 8;

// Every page of the sequence (or only page `onlyPage`), drawn from the very bytes the sign would
// be sent, read back as the sign reads them; info rows show `now`. Nothing when the bytes do not
// read back. Shared by velora-cli render and the editor's export, so both give the same pictures.
std::optional<std::vector<PagePicture>> pagePictures(const Modulo1& state, const DateTime& now,
                                                     std::optional<int> onlyPage = std::nullopt,
                                                     int pitch = kPicturePitch);

// Page `page` alone as the sign shows it when it comes up, drawn from the record it would be sent;
// a page whose record does not read back (a slot never stored) is the dark sign.
QImage pagePicture(const Modulo1& state, int page, const DateTime& now, int pitch);

// "pagina-001.png" for page 1.
QString pictureName(int page);

// All the pages on one sheet, in a grid, each with its number and pause beneath, on white: to
// show a customer or to keep.
QImage sequenceSheet(const std::vector<PagePicture>& pages);

}  // namespace velora
