#pragma once

#include <QValidator>

#include "core/controls.h"

namespace velora {

// Bounds typing, pasting and undo by the model's typing limit without ever cutting a text that
// the program set: QLineEdit's own maximum length would truncate it. A paste longer than the
// room left inserts what fits.
class TypingLimitValidator : public QValidator {
    Q_OBJECT

public:
    TypingLimitValidator(const TextBox& box, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    const TextBox& m_box;
};

}  // namespace velora
