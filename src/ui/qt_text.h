#pragma once

#include <string>

#include <QString>

namespace velora {

// The model holds Windows-1252 bytes; Qt holds Unicode. These convert at the edge.
QString toQt(const std::string& cp1252);
std::string fromQt(const QString& text);

// File paths travel through the model as UTF-8, the file system's own names, not as Windows-1252.
QString pathToQt(const std::string& utf8Path);
std::string pathFromQt(const QString& path);

}  // namespace velora
