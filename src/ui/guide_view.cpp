#include "guide_view.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "editor_view.h"
#include "window_placement.h"

namespace velora {

GuideView::GuideView(QWidget* parent)
    : QWidget(parent, Qt::Window), m_text(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("Guida"));
    setWindowTitle(QStringLiteral("Guida di Velora"));
    m_text->setObjectName(QStringLiteral("guideText"));
    m_text->setOpenExternalLinks(true);
    QFile source(QString::fromLatin1(kSource));
    if (source.open(QIODevice::ReadOnly)) m_text->setMarkdown(QString::fromUtf8(source.readAll()));

    auto* close = new QPushButton(QStringLiteral("&Chiudi"), this);
    close->setObjectName(QStringLiteral("guideClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    // About 80 characters wide and most of a small screen high.
    const int line = fontMetrics().height();
    resize(fontMetrics().averageCharWidth() * 84, line * 36);
}

void GuideView::addTo(EditorView& editor, Button& item) {
    auto* help = editor.menuBar()->findChild<QMenu*>(QStringLiteral("mnuaiuto"));
    auto* action = help->addAction(QString());
    editor.binder().bind(action, item);
    action->setShortcut(QKeySequence::HelpContents);
    // Some desktops give the help key no binding; F1 is what users press.
    if (action->shortcut().isEmpty()) action->setShortcut(QKeySequence(Qt::Key_F1));
    action->setShortcutContext(Qt::ApplicationShortcut);
    item.onClick = [&editor] {
        auto* guide = editor.findChild<GuideView*>();
        if (!guide) {
            guide = new GuideView(&editor);
            placeOver(guide, &editor);
        }
        guide->show();
        guide->raise();
        guide->activateWindow();
    };
}

}  // namespace velora
