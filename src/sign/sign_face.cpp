#include "sign_face.h"

#include <algorithm>
#include <cmath>

#include "core/modulo1.h"
#include "page_time.h"
#include "protocol/page_layout.h"
#include "protocol/sign_codes.h"

namespace velora {
namespace {

constexpr std::uint8_t kDegreeByte = 0xB0;

class Painter {
public:
    explicit Painter(SignFace& face) : m_face(face) {}

    // Draws the glyph of `index` with its top left dot at (x, y), clipped to the face.
    void glyph(SignFont font, std::uint8_t index, int x, int y) {
        if (index == 0x00) return;  // the blank of both fonts
        const Glyph* glyph = fontFor(font).glyph(index);
        if (!glyph) {
            const MissingGlyph missing{font, index};
            if (std::find(m_face.missing.begin(), m_face.missing.end(), missing) ==
                m_face.missing.end())
                m_face.missing.push_back(missing);
            return;
        }
        draw(*glyph, x, y);
    }

    void draw(const Glyph& glyph, int x, int y) {
        const int right = std::min(glyph.width, m_face.width - x);
        const int bottom = std::min(glyph.height, m_face.height - y);
        for (int gy = 0; gy < bottom; ++gy) {
            for (int gx = 0; gx < right; ++gx) {
                if (glyph.lit(gx, gy))
                    m_face.dots[static_cast<std::size_t>((y + gy) * m_face.width + x + gx)] = 1;
            }
        }
    }

private:
    SignFace& m_face;
};

// The row's indices seen through a window `chars` wide starting at character `from`; blanks
// beyond the end.
void drawIndices(Painter& painter, const std::vector<std::uint8_t>& indices, SignFont font,
                 std::size_t from, int chars, int top) {
    const int cell = font == SignFont::Big ? 2 * kCellWidth : kCellWidth;
    const int glyphTop = font == SignFont::Big ? top + 1 : top;
    for (int i = 0; i < chars && from + static_cast<std::size_t>(i) < indices.size(); ++i)
        painter.glyph(font, indices[from + static_cast<std::size_t>(i)], i * cell, glyphTop);
}

void drawInfo(Painter& painter, const DateTime& clock, int chars, int top) {
    const std::string text = InfoSampleText(clock);
    for (int i = 0; i < chars && i < static_cast<int>(text.size()); ++i) {
        const auto byte = static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]);
        // The clock row is the sign's own: it has a degree sign the fonts it is sent lack.
        const Glyph* degree = normalFont().infoGlyph();
        if (byte == kDegreeByte && degree)
            painter.draw(*degree, i * kCellWidth, top);
        else
            painter.glyph(SignFont::Normal, CodiceNormale(byte), i * kCellWidth, top);
    }
}

void drawRow(Painter& painter, const SignRow& row, int step, int steps, ScrollEnd end, int chars,
             const DateTime& clock, int top) {
    const int rowChars = fontChars(row.font, chars);
    switch (row.show) {
        case RowShow::Blank:
            break;
        case RowShow::Fixed:
            drawIndices(painter, row.indices, row.font, 0, rowChars, top);
            break;
        case RowShow::Info:
            drawInfo(painter, clock, rowChars, top);
            break;
        case RowShow::Scrolling:
            if (step >= steps && end == ScrollEnd::Dark) break;
            drawIndices(painter, row.indices, row.font, static_cast<std::size_t>(step % steps),
                        rowChars, top);
            break;
    }
}

}  // namespace

int signChars(int rowChars) {
    return std::max(0, rowChars) / kCharsPerBoard * kCharsPerBoard;
}

int scrollSteps(const SignPage& page) {
    return scrollSteps(page.kind, page.row1.indices.size(), page.row2.indices.size());
}

std::string SignFace::toText() const {
    std::string text;
    text.reserve(static_cast<std::size_t>((width + 1) * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) text.push_back(lit(x, y) ? '#' : '.');
        text.push_back('\n');
    }
    return text;
}

SignFace renderSignFace(const SignPage& page, double seconds, const DateTime& clock,
                        ScrollEnd end) {
    SignFace face;
    const int chars = signChars(page.rowChars);
    face.width = chars * kCellWidth;
    face.height = kFaceHeight;
    face.dots.assign(static_cast<std::size_t>(face.width * face.height), 0);
    Painter painter(face);

    const int steps = scrollSteps(page);
    const int step =
        steps > 0 ? static_cast<int>(std::floor(std::max(0.0, seconds) / kScrollStepSeconds + 1e-9))
                  : 0;
    drawRow(painter, page.row1, step, steps, end, chars, clock, 0);
    if (!page.big()) drawRow(painter, page.row2, step, steps, end, chars, clock, kCellHeight);

    // An inverse page lights the background and leaves the characters dark.
    if (page.inverse()) {
        for (std::uint8_t& dot : face.dots) dot = dot ? 0 : 1;
    }
    return face;
}

}  // namespace velora
