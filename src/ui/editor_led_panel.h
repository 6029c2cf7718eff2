#pragma once

#include <array>

#include <QString>
#include <QWidget>

#include "core/modulo1.h"
#include "editor/editor_window.h"

class QLabel;
class QLineEdit;

namespace velora {

class ControlBinder;
class LedView;

// Under the editor's rows: the sign's face for the page being composed, as it would be stored
// and sent, and beside it the characters the sign shows differently from the way they were
// typed. While the preview plays, the face plays the preview's page with the sign's timing.
class EditorLedPanel : public QWidget {
    Q_OBJECT

public:
    // `rows` are the widgets of Text1, Text2 and Text3, whose typing the warnings read.
    EditorLedPanel(EditorWindow& model, ControlBinder& binder, std::array<QLineEdit*, 3> rows,
                   QWidget* parent = nullptr);

    LedView* view() const { return m_view; }
    QLabel* warning() const { return m_warning; }

    // Brings the face and the warning line up to date with the model.
    void refresh();

private:
    void showPreview();
    void showComposed();
    // The row's text as the user typed it, while the model still holds that text: a character
    // Windows-1252 lacks reaches the model as "?", and the warning names the one typed.
    std::string typed(int row);

    EditorWindow& m_model;
    std::array<QLineEdit*, 3> m_rows;
    std::array<QString, 3> m_typed;
    LedView* m_view;
    QLabel* m_warning;
    Modulo1 m_scratch;  // a store of one page, from which the record of the composed page is made
    int m_previewPage = 0;
    int m_shownPosition = 0;  // the selector's position whose typing the shadows hold
};

}  // namespace velora
