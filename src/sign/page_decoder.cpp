#include "page_decoder.h"

#include <algorithm>

#include "link/sign_messages.h"

namespace velora {
namespace {

// Reads the body of a record, keeping its place; every read fails once the bytes run out.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t position() const { return m_position; }
    bool failed() const { return m_failed; }

    std::uint8_t byte() {
        if (m_position >= m_bytes.size()) {
            m_failed = true;
            return 0;
        }
        return m_bytes[m_position++];
    }

    std::vector<std::uint8_t> take(std::size_t count) {
        if (m_bytes.size() - m_position < count) {
            m_failed = true;
            m_position = m_bytes.size();
            return {};
        }
        std::vector<std::uint8_t> out(
            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position),
            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position + count));
        m_position += count;
        return out;
    }

    // Up to the row terminator, which is read but not kept.
    std::vector<std::uint8_t> untilScrollEnd() {
        const auto from = m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position);
        const auto end = std::find(from, m_bytes.end(), kScrollEnd);
        if (end == m_bytes.end()) {
            m_failed = true;
            m_position = m_bytes.size();
            return {};
        }
        std::vector<std::uint8_t> out(from, end);
        m_position += out.size() + 1;
        return out;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
    bool m_failed = false;
};

SignRow fixedRow(Reader& in, int rowChars) {
    // The sign reads a fixed row block of at least 24 bytes; the row's characters come first.
    std::vector<std::uint8_t> block =
        in.take(static_cast<std::size_t>(std::max(rowChars, kFixedBlockBytes)));
    block.resize(std::min(block.size(), static_cast<std::size_t>(rowChars)));
    return {RowShow::Fixed, SignFont::Normal, std::move(block)};
}

SignRow shortRow(Reader& in, int rowChars) {
    return {RowShow::Fixed, SignFont::Normal, in.take(static_cast<std::size_t>(rowChars))};
}

SignRow scrollingRow(Reader& in, SignFont font) {
    return {RowShow::Scrolling, font, in.untilScrollEnd()};
}

const SignRow kInfoRow{RowShow::Info, SignFont::Normal, {}};
const SignRow kBigBlank{RowShow::Blank, SignFont::Big, {}};

}  // namespace

std::optional<DecodedRecord> decodePageRecord(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    SignPage page;
    page.kind = in.byte();
    page.pageCount = in.byte();
    page.pause = in.byte();
    page.rowChars = in.byte();
    const int rowChars = page.rowChars;
    switch (page.kind) {
        case kTwoFixedRows:
            page.row1 = fixedRow(in, rowChars);
            page.row2 = fixedRow(in, rowChars);
            break;
        case kRow2Scrolling:
            page.row1 = fixedRow(in, rowChars);
            page.row2 = scrollingRow(in, SignFont::Normal);
            break;
        case kBigFixed:
        case kBigFixedInverse:
            page.row1 = {RowShow::Fixed, SignFont::Big,
                         in.take(static_cast<std::size_t>(rowChars / 2))};
            page.row2 = kBigBlank;
            break;
        case kBigScrolling:
            // A blank row block comes first; the big row follows it.
            in.take(kFixedBlockBytes);
            page.row1 = scrollingRow(in, SignFont::Big);
            page.row2 = kBigBlank;
            break;
        case kInfoInRow2:
            page.row1 = shortRow(in, rowChars);
            page.row2 = kInfoRow;
            break;
        case kInfoInRow1:
            page.row2 = shortRow(in, rowChars);
            page.row1 = kInfoRow;
            break;
        case kRow1Scrolling:
            // The fixed row 2 is sent before the scrolling row 1.
            page.row2 = fixedRow(in, rowChars);
            page.row1 = scrollingRow(in, SignFont::Normal);
            break;
        default:
            break;
    }
    if (in.byte() != kPageEnd || in.failed()) return std::nullopt;
    return DecodedRecord{std::move(page), in.position()};
}

std::optional<std::vector<SignPage>> decodeUpload(std::span<const std::uint8_t> bytes) {
    std::vector<SignPage> pages;
    while (!bytes.empty() && bytes.front() != kUploadEnd) {
        std::optional<DecodedRecord> record = decodePageRecord(bytes);
        if (!record) return std::nullopt;
        bytes = bytes.subspan(record->length);
        pages.push_back(std::move(record->page));
    }
    if (bytes.empty()) return std::nullopt;
    return pages;
}

}  // namespace velora
