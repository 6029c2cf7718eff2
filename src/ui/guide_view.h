#pragma once

#include <QWidget>

#include "core/controls.h"

class QTextBrowser;

namespace velora {

class EditorView;

// "Guida": the program's guide in Italian, in a window of its own. The text is kept in one
// Markdown file of the sources, built into the program.
class GuideView : public QWidget {
    Q_OBJECT

public:
    explicit GuideView(QWidget* parent = nullptr);

    QTextBrowser* text() const { return m_text; }

    // Scrolls the guide to the part headed `heading`, its title at the top. False when the guide
    // has no such part.
    bool showSection(const QString& heading);

    // Puts `item` into the editor's "?" menu with F1, and makes it show the guide, which is made
    // the first time it is asked for. Asked from a window that names its part of the guide
    // (setSection), the guide opens at that part.
    static void addTo(EditorView& editor, Button& item);

    // The part of the guide that tells about `window`, where F1 pressed in it opens the guide.
    static void setSection(QWidget* window, const QString& heading);

    static constexpr const char* kSource = ":/velora/guida.md";

private:
    QTextBrowser* m_text;
};

}  // namespace velora
