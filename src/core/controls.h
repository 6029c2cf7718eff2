#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velora {

// Colours are 24-bit RGB values with red in the low byte, as the windows have always stored them.
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kYellow = 0x00FFFF;  // red 255, green 255
inline constexpr std::uint32_t kGrey = 0x808080;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// The controls of a window as plain state. Setters behave as the windows' toolkit always did:
// a changed text or scroll value runs the control's change handler at once, nested, before the
// setter returns; setting the value a control already has runs nothing. Every property change
// moves `revision()`, so a view redraws only what changed. All texts are Windows-1252 bytes.
class Control {
public:
    explicit Control(std::string name) : m_name(std::move(name)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return m_name; }
    std::uint64_t revision() const { return m_revision; }

    bool visible() const { return m_visible; }
    void setVisible(bool visible) { assign(m_visible, visible); }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { assign(m_enabled, enabled); }
    const std::string& toolTip() const { return m_toolTip; }
    void setToolTip(const std::string& toolTip) { assign(m_toolTip, toolTip); }

protected:
    template <typename T>
    bool assign(T& field, const T& value) {
        if (field == value) return false;
        field = value;
        touch();
        return true;
    }
    void touch() { ++m_revision; }

private:
    std::string m_name;
    std::uint64_t m_revision = 1;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_toolTip;
};

// A control that shows a caption: labels, buttons, check boxes, option buttons, menu items.
class CaptionedControl : public Control {
public:
    using Control::Control;
    const std::string& caption() const { return m_caption; }
    void setCaption(const std::string& caption) { assign(m_caption, caption); }

private:
    std::string m_caption;
};

class TextBox : public Control {
public:
    using Control::Control;

    const std::string& text() const { return m_text; }
    // Runs onChange when the text differs from the one shown.
    void setText(const std::string& text);
    // The user's own edit: the text is set as above, then onEdit runs. The program's rewrites of
    // a text go through setText and never run onEdit.
    void edit(const std::string& text);

    // The typing limit bounds typing only: a text set by the program may be longer, and a lowered
    // limit never shortens the text.
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int maxLength) { assign(m_maxLength, maxLength); }
    // Whether the user may turn the text into one of `newLength` characters: an edit may not
    // make the text longer than both the limit and what it already holds.
    bool allowsTypedLength(std::size_t newLength) const;

    std::uint32_t backColor() const { return m_backColor; }
    void setBackColor(std::uint32_t color) { assign(m_backColor, color); }
    std::uint32_t foreColor() const { return m_foreColor; }
    void setForeColor(std::uint32_t color) { assign(m_foreColor, color); }

    std::function<void()> onChange;
    std::function<void()> onEdit;

private:
    std::string m_text;
    int m_maxLength = 0;  // 0: no limit
    std::uint32_t m_backColor = kWhite;
    std::uint32_t m_foreColor = kBlack;
};

class CheckBox : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;

    int value() const { return m_value; }
    // 0 clear, 1 checked; anything else fails with 380. A change runs onClick.
    void setValue(int value);

    std::function<void()> onClick;

private:
    int m_value = 0;
};

class OptionButton : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;

    // -1 when selected, 0 when not, as the program reads it.
    int value() const { return m_selected ? -1 : 0; }
    bool selected() const { return m_selected; }
    // Selecting one button of a group clears the others.
    void setSelected(bool selected);

    // Makes the buttons one group.
    static void group(const std::vector<OptionButton*>& buttons);

private:
    bool m_selected = false;
    std::vector<OptionButton*> m_group;
};

class ScrollBar : public Control {
public:
    using Control::Control;

    int value() const { return m_value; }
    // A value outside min..max fails with 380; a different value runs onChange.
    void setValue(int value);
    int min() const { return m_min; }
    int max() const { return m_max; }
    void setRange(int min, int max);
    int smallChange() const { return m_smallChange; }
    int largeChange() const { return m_largeChange; }
    void setSteps(int smallChange, int largeChange);

    std::function<void()> onChange;
    // Where the End key takes the bar; the maximum when the window sets nothing.
    std::function<int()> endValue;

private:
    int m_value = 0;
    int m_min = 0;
    int m_max = 32767;
    int m_smallChange = 1;
    int m_largeChange = 1;
};

class ComboBox : public Control {
public:
    using Control::Control;

    const std::string& text() const { return m_text; }
    void setText(const std::string& text) { assign(m_text, text); }
    const std::vector<std::string>& items() const { return m_items; }
    void setItems(const std::vector<std::string>& items) { assign(m_items, items); }

private:
    std::string m_text;
    std::vector<std::string> m_items;
};

class Label : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;
};

// Buttons, picture buttons and menu items.
class Button : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;

    static constexpr int kDefaultPointer = 0;
    static constexpr int kHourglass = 11;
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer) { assign(m_mousePointer, pointer); }

    // Runs onClick when the button is enabled, as a user's click would.
    void click();
    std::function<void()> onClick;

private:
    int m_mousePointer = kDefaultPointer;
};

class Timer : public Control {
public:
    using Control::Control;

    int interval() const { return m_interval; }  // milliseconds
    void setInterval(int interval) { assign(m_interval, interval); }

    std::function<void()> onTimer;

private:
    int m_interval = 0;
};

// A window: its caption, whether it is loaded and shown, and which control has the focus.
// Windows open without modality; a window's load handler runs when it is first shown after
// being unloaded, and showing a shown window brings it to the front.
class Form : public CaptionedControl {
public:
    explicit Form(std::string name) : CaptionedControl(std::move(name)) { setVisible(false); }

    bool loaded() const { return m_loaded; }
    // Loads the window (running onLoad) unless it is loaded, shows it and brings it to the front.
    void show();
    // Hides the window and forgets it: onUnload runs, and the next show loads it again.
    void unload();
    // The user closes the window: onQueryUnload decides whether it goes, and it is unloaded if
    // so. Returns whether it was unloaded.
    bool queryUnload();
    // Counts the requests to bring the window to the front.
    std::uint64_t raiseRequests() const { return m_raiseRequests; }
    // Whether the window holds work not yet saved; the caption marks where the title shows it
    // with "[*]".
    bool modified() const { return m_modified; }
    void setModified(bool modified) { assign(m_modified, modified); }

    const Control* focus() const { return m_focus; }
    // Asking for the focus always counts as a change, since the user may have moved it since.
    void setFocus(const Control& control) {
        m_focus = &control;
        touch();
    }
    // The view reports where the user put the focus; this is not a request to move it.
    void noteFocus(const Control* control) { m_focus = control; }

    std::function<void()> onLoad;
    std::function<void()> onUnload;
    // False keeps the window loaded and shown; without a handler the window always goes.
    std::function<bool()> onQueryUnload;

private:
    bool m_loaded = false;
    bool m_modified = false;
    std::uint64_t m_raiseRequests = 0;
    const Control* m_focus = nullptr;
};

// Gives a control its caption and tooltip, written in the source as UTF-8.
void describe(CaptionedControl& control, const char* utf8Caption, const char* utf8ToolTip);
void describe(Control& control, const char* utf8ToolTip);

}  // namespace velora
