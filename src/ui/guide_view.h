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

    // Puts `item` into the editor's "?" menu with F1, and makes it show the guide, which is made
    // the first time it is asked for.
    static void addTo(EditorView& editor, Button& item);

    static constexpr const char* kSource = ":/velora/guida.md";

private:
    QTextBrowser* m_text;
};

}  // namespace velora
