#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velora {

// BASE.dat, the settings file: the row width in characters (three a LED board) on one line.

// A settings file is one short line; reading no more than this keeps a huge file harmless.
inline constexpr std::size_t kBaseDatReadLimit = std::size_t{64} * 1024;

// The bytes written for a row width: the number between blanks, then CRLF (" 18 \r\n").
std::string baseDatBytes(int rowChars);

inline constexpr int kRowCharsPerBoard = 3;
inline constexpr int kFewestBoards = 3;
inline constexpr int kMostBoards = 8;

// The row width on the first line of `contents`, read as the program reads every number (blanks
// ignored). Nothing unless it is a width the settings window writes, 9, 12, ... 24: earlier
// versions wrote 0 for a refused choice, and a width typed by hand may be a board count.
std::optional<std::uint8_t> parseBaseDat(std::string_view contents);

}  // namespace velora
