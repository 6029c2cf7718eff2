#include "typing_limit_validator.h"

#include <algorithm>

namespace velora {

TypingLimitValidator::TypingLimitValidator(const TextBox& box, QObject* parent)
    : QValidator(parent), m_box(box) {}

QValidator::State TypingLimitValidator::validate(QString& input, int& pos) const {
    // One character of the model is one code point of the user's text.
    const auto length = static_cast<std::size_t>(input.toUcs4().size());
    if (m_box.allowsTypedLength(length)) return Acceptable;

    // Typing and pasting leave the cursor after what they inserted: what does not fit is cut
    // from the end of that, so a paste longer than the room left inserts what fits.
    const std::size_t room =
        std::max(static_cast<std::size_t>(std::max(m_box.maxLength(), 0)), m_box.text().size());
    std::size_t excess = length - room;
    int cut = pos;
    while (excess > 0 && cut > 0) {
        const bool pair =
            cut > 1 && input.at(cut - 1).isLowSurrogate() && input.at(cut - 2).isHighSurrogate();
        cut -= pair ? 2 : 1;
        --excess;
    }
    if (excess > 0) return Invalid;
    input.remove(cut, pos - cut);
    pos = cut;
    return Acceptable;
}

}  // namespace velora
