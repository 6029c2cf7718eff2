#pragma once

#include <string>

#include <QString>

namespace velora {

// The model holds Windows-1252 bytes; Qt holds Unicode. These convert at the edge.
QString toQt(const std::string& cp1252);
std::string fromQt(const QString& text);

// File paths travel through the model as the file system's own bytes, not as Windows-1252: UTF-8
// where they are UTF-8. A byte that is not UTF-8 (a name written in Latin-1) crosses into Qt as a
// lone surrogate, U+DC80 to U+DCFF, and comes back as the same byte, so that such a name survives
// a trip through Qt's strings; Qt's own file classes must not be given it.
QString pathToQt(const std::string& systemPath);
std::string pathFromQt(const QString& path);

// A path a file dialog returned, as the system's bytes. Qt decodes names that are not UTF-8 with
// replacement characters; such a name is found again by decoding the folder's names as Qt does.
std::string pathFromDialog(const QString& path);

}  // namespace velora
