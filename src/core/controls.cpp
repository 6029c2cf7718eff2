#include "controls.h"

#include "run_time_error.h"
#include "windows1252.h"

namespace velora {

void TextBox::setText(const std::string& text) {
    if (assign(m_text, text) && onChange) onChange();
}

void TextBox::edit(const std::string& text) {
    setText(text);
    if (onEdit) onEdit();
}

bool TextBox::allowsTypedLength(std::size_t newLength) const {
    if (m_maxLength <= 0) return true;
    return newLength <= static_cast<std::size_t>(m_maxLength) || newLength <= m_text.size();
}

void CheckBox::setValue(int value) {
    if (value != 0 && value != 1) throw RunTimeError(kInvalidPropertyValue);
    if (assign(m_value, value) && onClick) onClick();
}

void OptionButton::setSelected(bool selected) {
    if (selected) {
        for (OptionButton* other : m_group) {
            if (other != this) other->assign(other->m_selected, false);
        }
    }
    assign(m_selected, selected);
}

void OptionButton::group(const std::vector<OptionButton*>& buttons) {
    for (OptionButton* button : buttons) button->m_group = buttons;
}

void ScrollBar::setValue(int value) {
    if (value < m_min || value > m_max) throw RunTimeError(kInvalidPropertyValue);
    if (assign(m_value, value) && onChange) onChange();
}

void ScrollBar::setRange(int min, int max) {
    assign(m_min, min);
    assign(m_max, max);
    if (m_value < m_min) assign(m_value, m_min);
    if (m_value > m_max) assign(m_value, m_max);
}

void ScrollBar::setSteps(int smallChange, int largeChange) {
    assign(m_smallChange, smallChange);
    assign(m_largeChange, largeChange);
}

void Button::click() {
    if (enabled() && onClick) onClick();
}

void Form::show() {
    if (!m_loaded) {
        m_loaded = true;
        touch();
        if (onLoad) onLoad();
    }
    setVisible(true);
    ++m_raiseRequests;
    touch();
}

void Form::unload() {
    if (!m_loaded) return;
    m_loaded = false;
    setVisible(false);
    touch();
    if (onUnload) onUnload();
}

bool Form::queryUnload() {
    if (onQueryUnload && !onQueryUnload()) return false;
    unload();
    return true;
}

void describe(CaptionedControl& control, const char* utf8Caption, const char* utf8ToolTip) {
    control.setCaption(windows1252::fromUtf8(utf8Caption));
    control.setToolTip(windows1252::fromUtf8(utf8ToolTip));
}

void describe(Control& control, const char* utf8ToolTip) {
    control.setToolTip(windows1252::fromUtf8(utf8ToolTip));
}

}  // namespace velora
