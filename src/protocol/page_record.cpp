#include "page_record.h"

#include <algorithm>
#include <string>

#include "sign_codes.h"

namespace velora {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t codeFor(SignFont font, std::uint8_t c) {
    return font == SignFont::Big ? CodiceGrande(c) : CodiceNormale(c);
}

void appendRow(Bytes& out, const RowLayout& row, const std::string& text, int rowChars) {
    const std::size_t chars = sentChars(row, rowChars, text.size());
    for (std::size_t i = 0; i < chars; ++i) {
        // Beyond the end of a short text the row shows blanks.
        const auto c = i < text.size() ? static_cast<std::uint8_t>(text[i]) : std::uint8_t{' '};
        out.push_back(codeFor(row.font, c));
    }
    if (row.width == RowWidth::FixedBlock && chars < kFixedBlockBytes)
        out.resize(out.size() + (kFixedBlockBytes - chars), 0x00);
    if (row.width == RowWidth::WholeText) out.push_back(kScrollEnd);
}

}  // namespace

std::vector<std::uint8_t> pageRecord(const Modulo1& state, int slot) {
    const PageLayout& layout = pageLayout(state.PageKind[slot]);
    const auto& texts = state.PageText[slot];
    Bytes out{state.PageKind[slot], state.PageCount, state.PagePause[slot], state.RowChars};
    out.reserve(kRecordHeaderBytes + 2 * kFixedBlockBytes + texts[1].size() + texts[2].size() + 2);
    if (layout.blankBlockFirst) out.resize(out.size() + kFixedBlockBytes, 0x00);
    const RowLayout& first = layout.row2First ? layout.row2 : layout.row1;
    const RowLayout& second = layout.row2First ? layout.row1 : layout.row2;
    for (const RowLayout* row : {&first, &second}) {
        if (row->sent())
            appendRow(out, *row, texts[static_cast<std::size_t>(row->text)], state.RowChars);
    }
    out.push_back(kPageEnd);
    return out;
}

PageRecordReader::Status PageRecordReader::take(std::uint8_t byte) {
    if (m_status != Status::Reading) return m_status;
    ++m_length;
    if (m_length <= kRecordHeaderBytes) {
        std::uint8_t* const header[] = {&m_page.kind, &m_page.pageCount, &m_page.pause,
                                        &m_page.rowChars};
        *header[m_length - 1] = byte;
        if (m_length == kRecordHeaderBytes) startBody();
        return m_status;
    }
    if (m_block == m_blocks.size()) {
        m_status = byte == kPageEnd ? Status::Complete : Status::Invalid;
        return m_status;
    }
    const Block& block = m_blocks[m_block];
    if (block.scrolling) {
        if (byte == kScrollEnd)
            nextBlock();
        else
            row(block.row).indices.push_back(byte);
        return m_status;
    }
    if (m_blockRead < block.kept) row(block.row).indices.push_back(byte);
    if (++m_blockRead == block.length) nextBlock();
    return m_status;
}

void PageRecordReader::startBody() {
    const PageLayout& layout = pageLayout(m_page.kind);
    m_page.row1 = {layout.row1.show, layout.row1.font, {}};
    m_page.row2 = {layout.row2.show, layout.row2.font, {}};
    if (layout.blankBlockFirst) m_blocks.push_back({0, kFixedBlockBytes, 0, false});
    const int firstRow = layout.row2First ? 2 : 1;
    for (const int number : {firstRow, 3 - firstRow}) {
        const RowLayout& rowLayout = number == 1 ? layout.row1 : layout.row2;
        if (!rowLayout.sent()) continue;
        if (rowLayout.width == RowWidth::WholeText) {
            m_blocks.push_back({number, 0, 0, true});
            continue;
        }
        const std::size_t chars = sentChars(rowLayout, m_page.rowChars, 0);
        // The sign reads a fixed row block of at least 24 bytes; the row's characters come first.
        const std::size_t length = rowLayout.width == RowWidth::FixedBlock
                                       ? std::max<std::size_t>(chars, kFixedBlockBytes)
                                       : chars;
        m_blocks.push_back({number, length, chars, false});
    }
    m_block = 0;
    skipEmptyBlocks();
}

void PageRecordReader::nextBlock() {
    ++m_block;
    m_blockRead = 0;
    skipEmptyBlocks();
}

void PageRecordReader::skipEmptyBlocks() {
    // A row width of 0 (or 1 for a big row) leaves a block with nothing to read.
    while (m_block < m_blocks.size() && !m_blocks[m_block].scrolling &&
           m_blocks[m_block].length == 0)
        ++m_block;
}

std::optional<DecodedRecord> decodePageRecord(std::span<const std::uint8_t> bytes) {
    PageRecordReader reader;
    for (const std::uint8_t byte : bytes) {
        switch (reader.take(byte)) {
            case PageRecordReader::Status::Reading:
                break;
            case PageRecordReader::Status::Complete:
                return DecodedRecord{reader.takePage(), reader.length()};
            case PageRecordReader::Status::Invalid:
                return std::nullopt;
        }
    }
    return std::nullopt;
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
