#include "typing_limit_validator.h"

namespace velora {

TypingLimitValidator::TypingLimitValidator(const TextBox& box, QObject* parent)
    : QValidator(parent), m_box(box) {}

QValidator::State TypingLimitValidator::validate(QString& input, int& /*pos*/) const {
    // One character of the model is one code point of the user's text.
    const auto length = static_cast<std::size_t>(input.toUcs4().size());
    return m_box.allowsTypedLength(length) ? Acceptable : Invalid;
}

}  // namespace velora
